#include "app/window/main_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "app/window/control_style.h"
#include "app/logic/design_layout.h"
#include "app/window/qt_text.h"
#include "app/window/main_menus.h"
#include "measure/entry.h"
#include "model/levels.h"

namespace fw {

namespace {

constexpr int ListItemHeight = 14;

template <typename W, typename... Args>
W* Make(QWidget* parent, const Rect& r, Args&&... args) {
    W* w = new W(std::forward<Args>(args)..., parent);
    PlaceWidget(w, r);
    return w;
}

QLabel* RightLabel(QWidget* parent, const Rect& r, const QString& text) {
    auto* label = Make<QLabel>(parent, r, text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// An editable drop-down box whose list opens on the item its text names: the text is often
// set or typed without picking an item, and the list would open on the last one picked.
class TextComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    void showPopup() override {
        const int named = findText(currentText(), Qt::MatchExactly);
        if (named >= 0 && named != currentIndex()) {
            const QSignalBlocker quiet(this);  // the text stays as it is: no change to report
            setCurrentIndex(named);
        }
        QComboBox::showPopup();
    }
};

// A scroll bar that shows keyboard focus, which the application's style draws for no bar:
// a frame in the highlight colour.
class FocusFramedScrollBar : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        if (!hasFocus()) return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

// A drop-down box whose text can also be typed; typed texts never become items.
QComboBox* TextCombo(QWidget* parent, const Rect& r, const QStringList& items,
                     const QString& text) {
    auto* box = Make<TextComboBox>(parent, r);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setEditText(text);
    return box;
}

QLineEdit* NumberField(QWidget* parent, const Rect& r) {
    auto* edit = Make<QLineEdit>(parent, r);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFixedHeight(r.height);
    edit->setTextMargins(0, 0, 0, 0);
    return edit;
}

// Names `input` after its caption for screen readers, and lets Alt and the caption's key
// (where it has one) reach it.
void Caption(QLabel* label, QWidget* input, const QString& name) {
    if (label) label->setBuddy(input);
    input->setAccessibleName(name);
}

// Keeps every list line at the same height.
class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), h_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), h_};
    }

  private:
    int h_;
};

// The application's style with less room between a check box and its caption.
class TightCheckBoxStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_CheckBoxLabelSpacing) return 2;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void BuildDisplayGroup(MainControls& c) {
    c.GBDisplay =
        Make<QGroupBox>(c.Panel1, design::GBDisplay, QStringLiteral("Display Properties"));
    c.LaBandwidth = RightLabel(c.GBDisplay, design::LaBandwidth, QStringLiteral("Bandwidth [Hz]"));
    c.CBBandWidth = TextCombo(c.GBDisplay, design::CBBandWidth, BandwidthItems(),
                              BandwidthItems().constFirst());
    Caption(c.LaBandwidth, c.CBBandWidth, c.LaBandwidth->text());
    // The box holds exactly what is typed: "600" must not become "6000".
    c.CBBandWidth->setCompleter(nullptr);
    c.CBbwMode = Make<QCheckBox>(c.GBDisplay, design::CBbwMode,
                                 QStringLiteral("correct measurement\nto new bandwidth"));
    c.CBbwMode->setChecked(true);

    QLabel* yPos = RightLabel(c.GBDisplay, design::LaYPos, QStringLiteral("Y-Position"));
    c.LMDScrollBarPos =
        Make<FocusFramedScrollBar>(c.GBDisplay, design::ScrollBarPos, Qt::Horizontal);
    Caption(yPos, c.LMDScrollBarPos, yPos->text());
    c.LMDScrollBarPos->setRange(-100, 80);
    QLabel* yWidth = RightLabel(c.GBDisplay, design::LaYWidth, QStringLiteral("Y-Width"));
    c.LMDScrollBarWidth =
        Make<FocusFramedScrollBar>(c.GBDisplay, design::ScrollBarWidth, Qt::Horizontal);
    Caption(yWidth, c.LMDScrollBarWidth, yWidth->text());
    c.LMDScrollBarWidth->setRange(10, 200);
    for (QScrollBar* bar : {c.LMDScrollBarPos, c.LMDScrollBarWidth}) {
        bar->setFocusPolicy(Qt::StrongFocus);  // reachable with Tab, moved with the arrow keys
        bar->setSingleStep(10);
        bar->setPageStep(10);
        bar->setValue(10);  // the stored design position; replaced at start-up
    }
}

void BuildEntryMethodGroup(MainControls& c) {
    c.RadioGroup1 = Make<QGroupBox>(c.Panel1, design::RadioGroup1, QStringLiteral("Entry Method"));
    c.RadioGroup1Buttons = new QButtonGroup(c.RadioGroup1);
    QStringList items;
    for (const EntryMethodInfo& m : EntryMethods)
        items << QString::fromUtf8(m.item.data(), m.item.size());
    for (int i = 0; i < items.size(); ++i) {
        auto* b = Make<QRadioButton>(c.RadioGroup1, Rect{8, 17 + i * 22, 153, 20}, items.at(i));
        c.RadioGroup1Buttons->addButton(b, i);
    }
    c.RadioGroup1Buttons->button(0)->setChecked(true);
}

void BuildAddMeasurementGroup(MainControls& c) {
    c.AddMeasurement =
        Make<QGroupBox>(c.Panel1, design::GBAddMeasurement, QStringLiteral("Add Measurement"));
    QWidget* g = c.AddMeasurement;
    auto caption = [g](const Rect& input, int left, const QString& text) {
        return RightLabel(g, Rect{left, input.top, design::EntryCaptionWidth, input.height}, text);
    };
    const int left = design::EntryCaptionLeft;
    const int wide = design::EntryCaptionLeftWide;

    QLabel* band = caption(design::CBBand, left, QStringLiteral("Ham-Band"));
    c.CBBand = TextCombo(g, design::CBBand, BandTableTexts(), QStringLiteral("80m"));
    Caption(band, c.CBBand, band->text());
    c.CBFreqMode = Make<QCheckBox>(g, design::CBFreqMode, QStringLiteral("Frequency Mode -->"));
    c.CBFreqMode->setAccessibleName(QStringLiteral("Frequency Mode"));
    // The caption must fit beside the box in its designed 113 pixels.
    auto* tight = new TightCheckBoxStyle;
    tight->setParent(c.CBFreqMode);
    c.CBFreqMode->setStyle(tight);
    c.EditFrequency = NumberField(g, design::EditFrequency);
    c.EditFrequency->setText(QStringLiteral("1"));
    Caption(nullptr, c.EditFrequency, QStringLiteral("Frequency [MHz]"));
    // The caption reads "Antenna-Voltage" as designed; the selector holds the S-value.
    QLabel* sValue = caption(design::CBSValue, left, QStringLiteral("Antenna-Voltage"));
    QStringList sValues;
    for (const SValueEntry& v : SValueTable)
        sValues << QString::fromUtf8(v.text.data(), v.text.size());
    c.CBSValue = TextCombo(g, design::CBSValue, sValues, QStringLiteral("S9"));
    Caption(sValue, c.CBSValue, QStringLiteral("S-value"));
    const auto field = [&](const Rect& r, int captionLeft, const QString& text) {
        QLineEdit* edit = NumberField(g, r);
        Caption(caption(r, captionLeft, text), edit, text);
        return edit;
    };
    c.EditGain = field(design::EditGain, left, QStringLiteral("Gain [dBi]"));
    c.EditAntdBm = field(design::EditAntdBm, wide, QStringLiteral("Antenna-Power [dBm]"));
    c.EditAntVol = field(design::EditAntVol, wide, QStringLiteral("Antenna-Voltage [dBuV]"));
    c.EditFieldStrength =
        field(design::EditFieldStrength, left, QStringLiteral("Field Strength [dBuV/m]"));

    c.ButEnter =
        Make<QPushButton>(c.Panel1, design::ButEnter, QStringLiteral("ENTER\nAdd Measurement"));
    c.ButEnter->setFont(EnterButtonFont());
    c.ButEnter->setDefault(true);
}

void BuildUserDataGroup(MainControls& c, UserListModel& listModel) {
    c.GBUD = Make<QGroupBox>(c.Panel1, design::GBUD, QStringLiteral("USER Data"));
    c.LBUserData = Make<QListView>(c.GBUD, design::LBUserData);
    c.userListModel = &listModel;
    c.LBUserData->setModel(c.userListModel);
    c.LBUserData->setFont(MonospaceFont());
    c.LBUserData->setItemDelegate(new FixedHeightDelegate(ListItemHeight, c.LBUserData));
    c.LBUserData->setUniformItemSizes(true);
    c.LBUserData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.LBUserData->setSelectionMode(QAbstractItemView::SingleSelection);
    c.LBUserData->setAccessibleName(QStringLiteral("USER Data"));
    c.LBUserData->setToolTip(QStringLiteral("Right Click to manage"));

    c.PanDebug = Make<QFrame>(c.GBUD, design::PanDebug);
    c.PanDebug->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.PanDebug->setAutoFillBackground(true);
    QPalette red = c.PanDebug->palette();
    red.setColor(QPalette::Window, Qt::red);
    c.PanDebug->setPalette(red);
    c.Memo3 = Make<QPlainTextEdit>(c.PanDebug, design::Memo3);
    c.Memo3->setFont(MonospaceFont());
    c.Memo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.Memo3->setReadOnly(true);
    c.Memo3->setAccessibleName(QStringLiteral("Diagnostics"));
    // Every redraw adds lines: the oldest go, so that a long session cannot grow it unbounded.
    c.Memo3->setMaximumBlockCount(DiagnosticPanelLines);
}

}  // namespace

QList<QString> BandwidthItems() {
    return {QString::fromUtf8(StartBandwidthText.data(), StartBandwidthText.size()),
            QStringLiteral("6000"), QStringLiteral("9000"), QStringLiteral("10000")};
}

MainControls BuildMainControls(QMainWindow& window, UserListModel& listModel) {
    MainControls c;
    window.setFont(WindowFont());
    window.setAttribute(Qt::WA_WindowPropagation);  // menus and dialogs take the window font

    c.client = new QWidget(&window);
    window.setCentralWidget(c.client);

    c.GBDia = Make<QGroupBox>(c.client, design::GBDia, QStringLiteral("ITU-R P.372-12 Diagram"));
    c.ImPlot = Make<QLabel>(c.GBDia, design::ImPlot);
    c.ImPlot->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.ImPlot->setToolTip(QStringLiteral("Right Click to save"));

    c.Panel1 = Make<QWidget>(c.client, design::Panel1);
    BuildDisplayGroup(c);
    BuildEntryMethodGroup(c);
    BuildAddMeasurementGroup(c);
    BuildUserDataGroup(c, listModel);

    c.actions = BuildMainMenus(window, *c.ImPlot, *c.LBUserData);
    c.window = &window;
    return c;
}

}  // namespace fw

namespace fw {

DisplayControls DisplayGroup(const MainControls& c) {
    return {c.GBDia,       c.ImPlot,     c.Panel1,          c.LaBandwidth,
            c.CBBandWidth, c.CBbwMode,   c.LMDScrollBarPos, c.LMDScrollBarWidth,
            c.GBUD,        c.LBUserData, c.PanDebug,        c.Memo3};
}

EntryControls EntryGroup(const MainControls& c) {
    return {c.window,        c.RadioGroup1Buttons, c.CBBand,   c.CBFreqMode,
            c.EditFrequency, c.CBSValue,           c.EditGain, c.EditAntdBm,
            c.EditAntVol,    c.EditFieldStrength,  c.ButEnter, c.Memo3};
}

}  // namespace fw
