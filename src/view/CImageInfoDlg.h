#pragma once
// The Image Information dialog: the picture's size and depth, the album
// texts of a photo file, and the facts of the file it was loaded from.

#include <QDialog>
#include <string>

class CImageEnhancerDoc;

// What the dialog shows, gathered from the document without a window.
struct CImageInformation {
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitCount = 0;
    bool m_bInAlbum = false; // a photo file: title and description apply
    std::string m_strTitle;
    std::string m_strDescription;
    bool m_bHasFile = false; // false for an untitled picture
    std::string m_strFileName;
    std::string m_strFormat;
    long long m_nFileSize = 0;
    std::string m_strDate;
    std::string m_strTime;
    bool m_bReadOnly = false;

    static CImageInformation Of(const CImageEnhancerDoc& doc);
};

class CImageInfoDlg : public QDialog {
public:
    CImageInfoDlg(QWidget* pParent, const CImageInformation& info);
};
