#pragma once
// The help window: the user guide (docs/user-guide.md, installed with the
// program) shown as formatted text, with its pictures.

#include <QWidget>
#include <string>

class QTextBrowser;

class CHelpWnd : public QWidget {
public:
    explicit CHelpWnd(QWidget* pParent = nullptr);

    // The guide's path: beside the installed program (../share/pictavo-zozi/doc),
    // in the source tree above a build folder, or the source tree it was built from.
    // Empty when there is none.
    static std::string FindUserGuide();
    // Loads the guide; false when it cannot be read.
    bool Load(const std::string& path);
    // Scrolls to the section with this heading ("" for the top); false when there is none.
    bool ShowSection(const QString& heading);
    QTextBrowser* Browser() const { return m_pBrowser; }

    // The help section a help context opens ("" for the top of the guide).
    static QString SectionFor(uint32_t nContext);

private:
    static constexpr int kMaxPictureWidth = 640;
    void FitPictures();

    QTextBrowser* m_pBrowser;
};
