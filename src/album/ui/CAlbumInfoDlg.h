#pragma once
// The Album Information dialog: the album's title and description (edited
// here), its number of images and thumbnail size, and its file's name,
// size, date, time and read-only state.

#include <QDialog>
#include <string>

class CAlbum;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class CAlbumInfoDlg : public QDialog {
    Q_OBJECT
public:
    CAlbumInfoDlg(CAlbum& album, const std::string& albumPath, QWidget* pParent = nullptr);
    bool Changed() const { return m_bChanged; }
    // The value shown beside a label ("Images:", "Date:", ...), for tests.
    QString Field(const QString& label) const;
    void accept() override;

private:
    CAlbum& m_album;
    bool m_bChanged = false;
    QLineEdit* m_pTitle;
    QPlainTextEdit* m_pDescription;
};
