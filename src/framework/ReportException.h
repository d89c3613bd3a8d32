#pragma once
// Error reporting: every failure ends here, as one message with the stop icon.

#include "framework/CException.h"

#include <exception>
#include <string>

// The message for an exception, selected by its class and cause.
std::string GetExceptionMessage(const CException& e);
// The same for any exception: std::bad_alloc counts as a memory exception,
// anything that is not a CException as an internal error.
std::string GetExceptionMessage(std::exception_ptr p);

// Shows the message (stop icon, OK) through the user prompt; after a memory
// exception asks for the memory help topic. Never throws.
void ReportException(const CException& e);
void ReportException(std::exception_ptr p);

// Window messages the last-chance handler tells apart.
enum : unsigned { WM_CREATE = 0x0001, WM_PAINT = 0x000F, WM_COMMAND = 0x0111 };

struct CLastChanceResult {
    long lResult;         // what the window procedure returns
    bool bValidateWindow; // painting: validate the whole window so it is not repainted in a loop
    bool bReported;
};

// The application's handler for an exception that escaped a message handler:
// creation fails silently (-1), painting is validated and not reported (0),
// anything else is reported, with 1 for a menu command (no control handle).
CLastChanceResult ProcessWndProcException(std::exception_ptr p, unsigned nMsg, bool bFromControl);
