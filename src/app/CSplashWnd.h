#pragma once
// The start-up splash: "company.bmp" from the current directory (first kind)
// or the program's own picture (second kind), centred, on top, until its
// deadline, a key or a click.

#include <QFont>
#include <QImage>
#include <QWidget>
#include <cstdint>

class CSplashWnd : public QWidget {
public:
    static constexpr uint32_t kLifetime = 10000; // milliseconds

    CSplashWnd(bool bFirstKind, uint32_t dwDeadline);

    bool IsFirstKind() const { return m_bFirstKind; }
    uint32_t Deadline() const { return m_dwDeadline; }
    bool IsShowing() const { return m_bShowing; }
    const QImage& Picture() const { return m_picture; }
    void Show();        // centred on the screen, painted at once
    void MarkVisible(); // counts as showing without a window (tests)
    void Close();

    // Where the program's own splash puts its texts: every text measured in
    // the desktop's font (scaled for the title and the small print), so that
    // it fits at any font size.
    struct Layout {
        QSize size;
        double dScale = 1;
        QFont titleFont, subFont, smallFont;
        QString strTitle, strSubtitle, strVersion;
        QRect title, subtitle, version;
    };
    static Layout LayoutOwnSplash(const QFont& base, double dDpi);
    // The program's own splash picture, in the desktop's font.
    static QImage DrawOwnSplash();
    static QImage DrawOwnSplash(const Layout& layout);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_bFirstKind;
    uint32_t m_dwDeadline;
    bool m_bShowing = false;
    QImage m_picture;
};
