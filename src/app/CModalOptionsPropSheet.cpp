#include "app/CModalOptionsPropSheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QGroupBox* RadioBox(const char* title, QButtonGroup* group,
                    std::initializer_list<std::pair<const char*, int>> items, int nChecked) {
    auto* box = new QGroupBox(title);
    auto* lay = new QVBoxLayout(box);
    for (auto [text, id] : items) {
        auto* b = new QRadioButton(text);
        group->addButton(b, id);
        lay->addWidget(b);
        if (id == nChecked) b->setChecked(true);
    }
    return box;
}

} // namespace

CModalOptionsPropSheet::CModalOptionsPropSheet(const COptions& v, QWidget* pParent)
    : QDialog(pParent), m_pTabs(new QTabWidget), m_pUndo(new QButtonGroup(this)),
      m_pSize(new QButtonGroup(this)), m_pQuality(new QButtonGroup(this)) {
    setWindowTitle("Options");

    auto* general = new QWidget;
    auto* g = new QVBoxLayout(general);
    auto* row = new QHBoxLayout;
    row->addWidget(RadioBox("Undo Buffer", m_pUndo, {{"&None", 0}, {"Use &Memory", 1}}, v.m_nUndoBuffer));
    row->addWidget(
        RadioBox("Thumbnail Quality", m_pQuality, {{"&Low", 0}, {"&Medium", 1}}, v.m_nTnStretchMethod));
    g->addLayout(row);
    g->addWidget(RadioBox("Thumbnail Size", m_pSize,
                          {{"&Tiny", 0}, {"&Small", 1}, {"&Medium", 2}, {"&Large", 3}}, v.m_nThumbnailSize));
    m_pFastPaint = new QCheckBox("&Fast Paint (256 color video cards only)");
    m_pFastPaint->setChecked(v.m_bIdentityPalette != 0);
    g->addWidget(m_pFastPaint);
    g->addStretch();
    m_pTabs->addTab(general, "General");

    auto* dirs = new QWidget;
    auto* f = new QFormLayout(dirs);
    auto edit = [&](const char* label, const std::string& value) {
        auto* e = new QLineEdit(QString::fromStdString(value));
        f->addRow(label, e);
        return e;
    };
    m_pAlbums = edit("&Album Directory:", v.m_strAlbumsDir);
    m_pImages = edit("&Image Directory:", v.m_strImagesDir);
    m_pEffects = edit("&Effect Directory:", v.m_strUtilitiesDir);
    m_pParcelgram = edit("&Parcelgram Directory:", v.m_strDownloadDir);
    m_pTabs->addTab(dirs, "Directories");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(m_pTabs);
    lay->addWidget(buttons);
}

COptions CModalOptionsPropSheet::Values() const {
    COptions v;
    v.m_nUndoBuffer = std::max(0, m_pUndo->checkedId());
    v.m_nThumbnailSize = std::max(0, m_pSize->checkedId());
    v.m_nTnStretchMethod = std::max(0, m_pQuality->checkedId());
    v.m_bIdentityPalette = m_pFastPaint->isChecked() ? 1 : 0;
    v.m_strAlbumsDir = m_pAlbums->text().toStdString();
    v.m_strImagesDir = m_pImages->text().toStdString();
    v.m_strUtilitiesDir = m_pEffects->text().toStdString();
    v.m_strDownloadDir = m_pParcelgram->text().toStdString();
    return v;
}
