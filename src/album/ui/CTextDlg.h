#pragma once
// The Text dialog: the caption and description of each photo of the album,
// chosen by its number.

#include <QDialog>

class CAlbum;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

class CTextDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxCaption = 128;
    static constexpr int kMaxDescription = 1024;

    CTextDlg(CAlbum& album, int nCurrent, QWidget* pParent = nullptr);
    // Whether any photo's texts were written.
    bool Changed() const { return m_bChanged; }
    QComboBox* ImageNumber() const { return m_pNumber; }
    QLineEdit* Caption() const { return m_pCaption; }
    QPlainTextEdit* Description() const { return m_pDescription; }

    void accept() override;
    // Writes the edited texts to every photo of the album.
    void ApplyToAll();

private:
    void Load(int nIndex);
    void Store(int nIndex);
    std::string DescriptionText() const;

    CAlbum& m_album;
    int m_nShown = -1;
    bool m_bChanged = false;
    QComboBox* m_pNumber;
    QLineEdit* m_pCaption;
    QPlainTextEdit* m_pDescription;
};
