#pragma once
// "Warping": the mesh over a small copy of the picture, its grid size, mesh
// files, "High &Quality" and a preview of the warp on the copy.

#include <QDialog>

#include <memory>

class CDib;
class CMeshEditWnd;
class COpValues;
class QCheckBox;
class QLabel;
class QRadioButton;

class CWarpDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCopyWidth = 280, kCopyHeight = 220;

    CWarpDlg(QWidget* pParent, const CDib& image, const std::string& strUtilitiesDir);
    ~CWarpDlg() override;

    // On OK: the edited mesh as a file the operation reads, and the quality.
    void GetValues(COpValues& values) const;
    void accept() override;

    CMeshEditWnd* Editor() const { return m_pEditor; }
    const CDib* Copy() const { return m_pCopy.get(); }
    const CDib* PreviewImage() const { return m_pShown.get(); }
    // The file dialogs' work once a file is chosen; false when nothing changed.
    bool LoadMeshFile(const std::string& path);
    bool SaveMeshFile(const std::string& path);

public slots:
    void Preview();

private:
    void ShowGridSize();

    std::string m_strDir;
    std::unique_ptr<CDib> m_pCopy, m_pShown;
    std::string m_strResultFile;
    CMeshEditWnd* m_pEditor = nullptr;
    QLabel* m_pPreview;
    QRadioButton* m_pSizes[3];
    QCheckBox* m_pHighQuality;
};
