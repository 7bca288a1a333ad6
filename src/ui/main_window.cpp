#include "ui/main_window.h"

#include <QGuiApplication>
#include <QScreen>

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "ui/control_ids.h"
#include "ui/control_table.h"
#include "ui/link_label.h"

namespace ui {

namespace {

QColor colourOf(Colour colour)
{
    switch (colour) {
    case Colour::Blue: return QColor(0, 0, 255);
    case Colour::Red: return QColor(255, 0, 0);
    case Colour::Green: return QColor(0, 128, 0);
    case Colour::Default: break;
    }
    return {};
}

void applyColour(QWidget* widget, Colour colour)
{
    if (colour == Colour::Default)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colourOf(colour));
    palette.setColor(QPalette::Text, colourOf(colour));
    widget->setPalette(palette);
}

Qt::Alignment alignmentOf(Align align)
{
    switch (align) {
    case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

QFont fixedPitchFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(9);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(9);
    }
    return font;
}

QFont controlFont()
{
    // The layout was drawn for a compact 8-point dialog font: a condensed
    // face keeps every caption inside its control.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(10);
    return font;
}

MainWindow::MainWindow()
{
    setWindowTitle(QStringLiteral("Quendrolt"));
    setFont(controlFont());
    setFixedSize(kWindowWidth, kWindowHeight);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    // Frames first, so that they stay behind the controls placed over them.
    for (const ControlSpec& spec : controlTable())
        if (spec.kind == ControlKind::Frame)
            controls_.add(spec.id, createControl(spec));
    for (const ControlSpec& spec : controlTable())
        if (spec.kind != ControlKind::Frame)
            controls_.add(spec.id, createControl(spec));
    fillDropDowns();

    auto* options = new QButtonGroup(this);
    options->addButton(qobject_cast<QRadioButton*>(controls_.widget(ControlId::OperandOption)));
    options->addButton(qobject_cast<QRadioButton*>(controls_.widget(ControlId::MemoryOption)));

    results_ = ResultsList(list_);
}

QWidget* MainWindow::createControl(const ControlSpec& spec)
{
    QWidget* widget = nullptr;
    const QString caption = QString::fromUtf8(spec.caption);
    const int id = spec.id;
    switch (spec.kind) {
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, [this, id] { emit controlEvent(id); });
        widget = button;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(caption, this);
        connect(box, &QCheckBox::clicked, this, [this, id] { emit controlEvent(id); });
        widget = box;
        break;
    }
    case ControlKind::Option: {
        auto* option = new QRadioButton(caption, this);
        connect(option, &QRadioButton::clicked, this, [this, id] { emit controlEvent(id); });
        widget = option;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, this);
        label->setAlignment(alignmentOf(spec.align));
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlKind::Link: {
        auto* link = new LinkLabel(caption, this);
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        connect(link, &LinkLabel::clicked, this, [this, id] { emit controlEvent(id); });
        widget = link;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(caption, this);
        if (spec.digitsOnly)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        if (spec.maxLength > 0)
            edit->setMaxLength(spec.maxLength);
        edit->setReadOnly(spec.readOnly);
        widget = edit;
        break;
    }
    case ControlKind::DropDown: {
        auto* box = new QComboBox(this);
        connect(box, &QComboBox::activated, this, [this, id] { emit controlEvent(id); });
        widget = box;
        break;
    }
    case ControlKind::ListBox: {
        list_ = new QListWidget(this);
        list_->setUniformItemSizes(true);
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        connect(list_, &QListWidget::itemSelectionChanged, this, [this, id] {
            if (!list_->selectedItems().isEmpty())
                emit controlEvent(id);
        });
        widget = list_;
        break;
    }
    case ControlKind::Frame:
        widget = new QGroupBox(caption, this);
        break;
    }
    widget->setGeometry(spec.x, spec.y, spec.width, spec.height);
    applyColour(widget, spec.colour);
    if (spec.fixedFont)
        widget->setFont(fixedPitchFont());
    widget->setObjectName(QStringLiteral("control%1").arg(id));
    return widget;
}

void MainWindow::fillDropDowns()
{
    for (const DropDownList& list : dropDownLists()) {
        auto* box = qobject_cast<QComboBox*>(controls_.widget(list.id));
        for (const DropDownItem& item : list.items)
            box->addItem(QString::fromUtf8(item.caption), item.value);
        box->setCurrentIndex(list.startIndex);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closeHandler_ && !closeHandler_())
        event->ignore();
    else
        event->accept();
}

void MainWindow::centreOnPrimaryScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace ui
