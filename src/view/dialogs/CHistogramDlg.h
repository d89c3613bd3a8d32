#pragma once
// The picture's grey, red, green and blue histograms with their statistics;
// it only shows them.

#include "view/core/DialogRules.h"

#include <QDialog>

#include <memory>

class CDib;
class CTRGBHist;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CHistogramDlg : public QDialog {
    Q_OBJECT
public:
    // The graph's size; the bars fill it less 24 pixels each way.
    static constexpr int kGraphWidth = 304, kGraphHeight = 224, kGraphMargin = 24;

    CHistogramDlg(QWidget* pParent, const CDib& image);
    ~CHistogramDlg() override;

    // The bars drawn for the channel and view shown.
    const std::vector<CHistogramBar>& Bars() const { return m_bars; }

private:
    class CGraph;
    void Update();

    std::unique_ptr<CTRGBHist> m_pHist;
    std::vector<CHistogramBar> m_bars;
    QComboBox* m_pChannel;
    QCheckBox* m_pAccumulated;
    QLineEdit* m_pMin;
    QLineEdit* m_pMax;
    QLineEdit* m_pMean;
    QLineEdit* m_pStdDev;
    CGraph* m_pGraph;
};
