#pragma once
// The program's QApplication: an exception that escapes any event handler
// (keys, mouse, timers, posted calls, painting) ends in the last-chance
// handler instead of ending the program.

#include <QApplication>
#include <exception>

class CLastChanceApplication : public QApplication {
public:
    CLastChanceApplication(int& argc, char** argv);

    bool notify(QObject* pReceiver, QEvent* pEvent) override;

    // The window message an event stands for in the last-chance rule:
    // painting is WM_PAINT, anything else is reported.
    static unsigned MessageOf(const QEvent* pEvent);
    // Reports by the rule; a failure while a report is already on screen (a
    // timer throwing again behind the message box) is traced, not stacked.
    static bool HandleEscaped(std::exception_ptr p, const QEvent* pEvent);

private:
    static int s_nReporting;
};
