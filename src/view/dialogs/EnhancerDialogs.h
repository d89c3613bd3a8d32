#pragma once
// Registers the enhancer's argument dialogs with COperationDialogs.

void RegisterEnhancerDialogs();
