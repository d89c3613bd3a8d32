#pragma once
// What the print dialogs, the views and the main frame share for one run:
// the printer (chosen by Print Setup and the dialogs), the measurement unit,
// the settings objects, and the loop that draws a job's pages on a printer.

#include "print/CAlbumPrintSettings.h"
#include "print/CImagePrintSettings.h"
#include "print/PrintUnits.h"

class CPrintJob;
struct CPrintInfo;
class QPrinter;
class QWidget;

// The printer of the run. With no printer installed it writes a PDF file.
QPrinter& GetRunPrinter();
bool HasSystemPrinters();

// Inches or centimetres, from the locale's measurement system, decided once.
const CMeasureUnit& GetRunMeasureUnit();

// The run's settings objects, made on first use.
CImagePrintSettings& GetImagePrintSettings();
CAlbumPrintSettings& GetAlbumPrintSettings();

// Lays the job out for the printer's page without drawing (the dialogs'
// miniature and page count): info gets the clamped range. Returns the page count.
int LayoutForPrinter(CPrintJob& job, QPrinter& printer, CPrintInfo& info);

// Draws the pages from..to of the job on the printer (a PDF file, a printer
// or the preview's pages). False when the device could not be started.
bool PrintJobPages(CPrintJob& job, QPrinter& printer, unsigned nFromPage, unsigned nToPage, bool bPreview);

// F1 in the dialog asks for its help context: 0x20000 + the dialog's id.
void SetPrintDialogHelp(QWidget* pDialog, unsigned nDialogId);

// Print Setup: the page and printer set-up of the run's printer.
bool RunPrintSetup(QWidget* pParent);
