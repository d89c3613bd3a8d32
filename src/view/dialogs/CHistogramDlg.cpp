#include "view/dialogs/CHistogramDlg.h"

#include "imaging/CDib.h"
#include "imaging/CTRGBHist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

class CHistogramDlg::CGraph : public QWidget {
public:
    explicit CGraph(CHistogramDlg* pDlg) : QWidget(pDlg), m_pDlg(pDlg) {
        setObjectName("graph");
        setFixedSize(kGraphWidth, kGraphHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const int w = kGraphWidth - kGraphMargin, h = kGraphHeight - kGraphMargin;
        QImage graph(w, h, QImage::Format_RGB32);
        graph.fill(Qt::white);
        {
            QPainter p(&graph);
            p.setPen(Qt::blue);
            for (const CHistogramBar& bar : m_pDlg->m_bars)
                if (bar.m_nHeight > 0) p.drawLine(bar.m_nX, h - 1, bar.m_nX, h - bar.m_nHeight);
            // Grid marks at tenths along both axes.
            p.setPen(Qt::black);
            for (int i = 0; i <= 10; ++i) {
                const int x = std::min(w - 1, i * w / 10), y = std::min(h - 1, h - 1 - i * h / 10);
                p.drawLine(x, h - 1, x, h - 4);
                p.drawLine(0, y, 3, y);
            }
        }
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        painter.drawImage(kGraphMargin / 2, kGraphMargin / 2, graph);
    }

private:
    CHistogramDlg* m_pDlg;
};

CHistogramDlg::CHistogramDlg(QWidget* pParent, const CDib& image) : QDialog(pParent) {
    setWindowTitle(tr("Histogram"));
    // The histogram only reads the picture.
    m_pHist = std::make_unique<CTRGBHist>(const_cast<CDib*>(&image), true);
    m_pHist->Compute();

    auto* pLayout = new QGridLayout(this);
    auto* pTop = new QFormLayout;
    m_pChannel = new QComboBox;
    m_pChannel->addItems({tr("Grey"), tr("Red"), tr("Green"), tr("Blue")});
    pTop->addRow(tr("Channel:"), m_pChannel);
    m_pAccumulated = new QCheckBox(tr("Accumulated"));
    pTop->addRow(m_pAccumulated);
    pLayout->addLayout(pTop, 0, 0, 1, 2);
    m_pGraph = new CGraph(this);
    pLayout->addWidget(m_pGraph, 1, 0, 1, 2);
    auto* pStats = new QFormLayout;
    m_pMin = new QLineEdit;
    m_pMax = new QLineEdit;
    m_pMean = new QLineEdit;
    m_pStdDev = new QLineEdit;
    m_pMin->setObjectName("min");
    m_pMax->setObjectName("max");
    m_pMean->setObjectName("mean");
    m_pStdDev->setObjectName("stddev");
    for (QLineEdit* p : {m_pMin, m_pMax, m_pMean, m_pStdDev}) p->setReadOnly(true);
    pStats->addRow(tr("Min:"), m_pMin);
    pStats->addRow(tr("Max:"), m_pMax);
    pStats->addRow(tr("Mean:"), m_pMean);
    pStats->addRow(tr("Std Dev:"), m_pStdDev);
    pLayout->addLayout(pStats, 2, 0);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pLayout->addWidget(pButtons, 2, 1, Qt::AlignBottom);

    connect(m_pChannel, &QComboBox::currentIndexChanged, this, [this] { Update(); });
    connect(m_pAccumulated, &QCheckBox::toggled, this, [this] { Update(); });
    Update();
}

CHistogramDlg::~CHistogramDlg() = default;

void CHistogramDlg::Update() {
    // The list shows grey first; the tables hold red, green, blue, grey.
    static const int s_tables[] = {3, 0, 1, 2};
    const int nTable = s_tables[std::clamp(m_pChannel->currentIndex(), 0, 3)];
    const bool bAccumulated = m_pAccumulated->isChecked();
    const uint32_t* pCounts = bAccumulated ? m_pHist->GetCumulative(nTable) : m_pHist->GetHistogram(nTable);
    m_bars = HistogramBars(pCounts, kGraphWidth - kGraphMargin, kGraphHeight - kGraphMargin, bAccumulated,
                           m_pHist->GetPixelCount());
    const CHistStatistics s =
        m_pHist->GetStatistics(m_pHist->GetHistogram(nTable), m_pHist->GetCumulative(nTable));
    m_pMin->setText(QString::number(s.m_nMin));
    m_pMax->setText(QString::number(s.m_nMax));
    m_pMean->setText(QString::fromStdString(FormatHundredths(s.m_dMean)));
    m_pStdDev->setText(QString::fromStdString(FormatHundredths(s.m_dStdDev)));
    m_pGraph->update();
}
