#include "framework/qt/CLastChanceApplication.h"

#include "framework/ReportException.h"
#include "framework/Trace.h"

#include <QEvent>

int CLastChanceApplication::s_nReporting = 0;

CLastChanceApplication::CLastChanceApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CLastChanceApplication::notify(QObject* pReceiver, QEvent* pEvent) {
    try {
        return QApplication::notify(pReceiver, pEvent);
    } catch (...) {
        return HandleEscaped(std::current_exception(), pEvent);
    }
}

unsigned CLastChanceApplication::MessageOf(const QEvent* pEvent) {
    switch (pEvent ? pEvent->type() : QEvent::None) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
        return WM_PAINT;
    default:
        return 0;
    }
}

bool CLastChanceApplication::HandleEscaped(std::exception_ptr p, const QEvent* pEvent) {
    const unsigned nMsg = MessageOf(pEvent);
    if (nMsg != WM_PAINT && s_nReporting > 0) {
        ZTRACE("notify(): exception while another is being reported (event %d)\n",
               pEvent ? static_cast<int>(pEvent->type()) : 0);
        return true;
    }
    ++s_nReporting;
    ProcessWndProcException(p, nMsg, false);
    --s_nReporting;
    // The event counts as handled: a paint is over and is not retried.
    return true;
}
