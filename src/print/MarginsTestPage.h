#pragma once
// The page "Test Printer" prints: a rectangle along the page inset by the
// extra margins being tried, and a note asking to widen the margins whose
// edge is missing. The caller starts and ends the document and the page.

#include "framework/CRect.h"

class CDC;

// rcMargins: left, top, right, bottom in print units.
void DrawMarginsTestPage(CDC& dc, const CRect& rcMargins);
