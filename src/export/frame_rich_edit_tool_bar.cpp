// Building the note editor's tool bar and wiring its controls.
#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextList>
#include <QVBoxLayout>

#include "export/frame_rich_edit.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

QString text(std::string_view utf8Traditional) {
    return QString::fromStdString(programTextUtf8(utf8Traditional));
}

QToolButton* makeButton(QWidget* parent, QLayout* layout, const char* name, std::string_view hint,
                        const QString& label, QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(text(hint));
    button->setAutoRaise(true);
    if (icon != QStyle::SP_CustomBase)
        button->setIcon(parent->style()->standardIcon(icon));
    else
        button->setText(label);
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(button);
    return button;
}

QToolButton* makeToggle(QWidget* parent, QLayout* layout, const char* name, std::string_view hint,
                        const QString& label) {
    QToolButton* button = makeButton(parent, layout, name, hint, label);
    button->setCheckable(true);
    return button;
}

// Four lines set left, centred or right, as alignment buttons show them.
QIcon alignmentIcon(int tag) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1));
    const int widths[] = {14, 9, 14, 9};
    for (int line = 0; line < 4; ++line) {
        int width = widths[line];
        int left = tag == 0 ? 1 : tag == 1 ? 15 - width : (16 - width) / 2;
        painter.drawLine(left, 2 + line * 4, left + width - 1, 2 + line * 4);
    }
    return QIcon(pixmap);
}

}  // namespace

void TFrame_RichEdit::buildToolBar() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(1);
    outer->addLayout(bar);

    OpenButton = makeButton(this, bar, "OpenButton", "打開文檔", {}, QStyle::SP_DialogOpenButton);
    SaveButton = makeButton(this, bar, "SaveButton", "保存文檔", {}, QStyle::SP_DialogSaveButton);
    PrintButton = makeButton(this, bar, "PrintButton", "打印文檔", text("印"));
    UndoButton = makeButton(this, bar, "UndoButton", "回退", QStringLiteral("↶"));
    CutButton = makeButton(this, bar, "CutButton", "剪切 Ctrl+X", QStringLiteral("✂"));
    CopyButton = makeButton(this, bar, "CopyButton", "複製 Ctrl+C", text("複"));
    PasteButton = makeButton(this, bar, "PasteButton", "粘貼 Ctrl+V", text("貼"));

    FontName = new QComboBox(this);
    FontName->setObjectName("FontName");
    FontName->setEditable(true);
    FontName->setInsertPolicy(QComboBox::NoInsert);
    FontName->setMinimumContentsLength(10);
    FontName->setEditText(QStringLiteral("宋體"));
    bar->addWidget(FontName);
    FontSize = new QLineEdit(QStringLiteral("10"), this);
    FontSize->setObjectName("FontSize");
    FontSize->setFixedWidth(40);
    bar->addWidget(FontSize);
    auto* upDown = new QVBoxLayout;
    upDown->setSpacing(0);
    UpDown1_Up = new QToolButton(this);
    UpDown1_Up->setObjectName("UpDown1_Up");
    UpDown1_Up->setArrowType(Qt::UpArrow);
    UpDown1_Down = new QToolButton(this);
    UpDown1_Down->setObjectName("UpDown1_Down");
    UpDown1_Down->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {UpDown1_Up, UpDown1_Down}) {
        arrow->setFixedSize(16, 11);
        arrow->setFocusPolicy(Qt::NoFocus);
        upDown->addWidget(arrow);
    }
    bar->addLayout(upDown);
    ScrollBox_Font = new QFrame(this);
    ScrollBox_Font->setObjectName("ScrollBox_Font");
    ScrollBox_Font->setFixedSize(25, 21);
    ScrollBox_Font->setFrameShape(QFrame::Box);
    ScrollBox_Font->setAutoFillBackground(true);
    ScrollBox_Font->setToolTip(text("定義顔色"));
    ScrollBox_Font->setCursor(Qt::PointingHandCursor);
    ScrollBox_Font->installEventFilter(this);
    bar->addWidget(ScrollBox_Font);
    setSwatchColor(Swatch_Color_);

    BoldButton = makeToggle(this, bar, "BoldButton", "粗體", QStringLiteral("B"));
    QFont bold = BoldButton->font();
    bold.setBold(true);
    BoldButton->setFont(bold);
    ItalicButton = makeToggle(this, bar, "ItalicButton", "斜體", QStringLiteral("I"));
    QFont italic = ItalicButton->font();
    italic.setItalic(true);
    ItalicButton->setFont(italic);
    UnderlineButton = makeToggle(this, bar, "UnderlineButton", "下劃線", QStringLiteral("U"));
    QFont underline = UnderlineButton->font();
    underline.setUnderline(true);
    UnderlineButton->setFont(underline);

    LeftAlign = makeToggle(this, bar, "LeftAlign", "左對齊 Ctrl+L", QStringLiteral("⫷"));
    CenterAlign = makeToggle(this, bar, "CenterAlign", "中對齊", QStringLiteral("≡"));
    RightAlign = makeToggle(this, bar, "RightAlign", "右對齊 Ctrl+R", QStringLiteral("⫸"));
    LeftAlign->setIcon(alignmentIcon(0));
    RightAlign->setIcon(alignmentIcon(1));
    CenterAlign->setIcon(alignmentIcon(2));
    Align_Group_ = new QButtonGroup(this);
    Align_Group_->setExclusive(true);
    // The ids are the paragraph alignment values: 0 left, 1 right, 2 centre.
    Align_Group_->addButton(LeftAlign, 0);
    Align_Group_->addButton(RightAlign, 1);
    Align_Group_->addButton(CenterAlign, 2);
    LeftAlign->setChecked(true);

    BulletsButton = makeToggle(this, bar, "BulletsButton", "加標號", QStringLiteral("•"));
    SpeedButton_Insert_Pict =
        makeButton(this, bar, "SpeedButton_Insert_Pict", "插入圖片", text("圖"));
    SpeedButton_Find = makeButton(this, bar, "SpeedButton_Find", "查找 Ctrl+F/F3", text("查"));
    SpeedButton_Replace = makeButton(this, bar, "SpeedButton_Replace", "替換 Ctrl+T", text("替"));
    SpeedButton_Space_Std =
        makeButton(this, bar, "SpeedButton_Space_Std", "段落距離標準化", text("距"));
    bar->addStretch(1);

    RichEdit = new TRich_Edit_Control(this);
    RichEdit->setObjectName("RichEdit");
    RichEdit->setAcceptRichText(true);
    RichEdit->setTabChangesFocus(false);
    RichEdit->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setFrameShape(QFrame::Box);
    RichEdit->setLineWidth(1);
    RichEdit->document()->setDocumentMargin(8);
    QFont base(QStringLiteral("宋体"));
    base.setPixelSize(15);
    RichEdit->document()->setDefaultFont(base);
    setBackground(Qt::white);
    outer->addWidget(RichEdit, 1);
}

void TFrame_RichEdit::connectCommands() {
    connect(OpenButton, &QToolButton::clicked, this, &TFrame_RichEdit::openCommand);
    connect(SaveButton, &QToolButton::clicked, this, &TFrame_RichEdit::saveCommand);
    connect(PrintButton, &QToolButton::clicked, this, &TFrame_RichEdit::printCommand);
    connect(UndoButton, &QToolButton::clicked, RichEdit, &QTextEdit::undo);
    connect(CutButton, &QToolButton::clicked, RichEdit, &QTextEdit::cut);
    connect(CopyButton, &QToolButton::clicked, RichEdit, &QTextEdit::copy);
    connect(PasteButton, &QToolButton::clicked, RichEdit, &QTextEdit::paste);
    connect(FontName, qOverload<int>(&QComboBox::activated), this,
            &TFrame_RichEdit::fontNameChanged);
    connect(FontSize, &QLineEdit::textEdited, this, [this] { applyFontSizeText(); });
    connect(UpDown1_Up, &QToolButton::clicked, this, [this] { stepFontSize(1); });
    connect(UpDown1_Down, &QToolButton::clicked, this, [this] { stepFontSize(-1); });
    auto toggle = [this](QToolButton* button, auto apply) {
        connect(button, &QToolButton::toggled, this, [this, apply](bool down) {
            if (Updating_) return;
            QTextCharFormat format;
            apply(format, down);
            mergeFormat(format);
        });
    };
    toggle(BoldButton, [](QTextCharFormat& f, bool down) {
        f.setFontWeight(down ? QFont::Bold : QFont::Normal);
    });
    toggle(ItalicButton, [](QTextCharFormat& f, bool down) { f.setFontItalic(down); });
    toggle(UnderlineButton, [](QTextCharFormat& f, bool down) { f.setFontUnderline(down); });
    connect(Align_Group_, &QButtonGroup::idClicked, this, [this](int tag) {
        if (Updating_) return;
        static const Qt::Alignment kAlign[] = {Qt::AlignLeft | Qt::AlignAbsolute,
                                               Qt::AlignRight | Qt::AlignAbsolute,
                                               Qt::AlignHCenter};
        RichEdit->setAlignment(kAlign[tag]);
    });
    connect(BulletsButton, &QToolButton::toggled, this, [this](bool down) {
        if (Updating_) return;
        QTextCursor cursor = RichEdit->textCursor();
        QTextList* list = cursor.currentList();
        if (down && list == nullptr) {
            cursor.createList(QTextListFormat::ListDisc);
        } else if (!down && list != nullptr) {
            QTextBlock first = RichEdit->document()->findBlock(cursor.selectionStart());
            QTextBlock last = RichEdit->document()->findBlock(cursor.selectionEnd());
            for (QTextBlock block = first; block.isValid(); block = block.next()) {
                if (QTextList* owner = block.textList()) owner->remove(block);
                QTextBlockFormat plain = block.blockFormat();
                plain.setIndent(0);
                QTextCursor(block).setBlockFormat(plain);
                if (block == last) break;
            }
        }
    });
    connect(SpeedButton_Insert_Pict, &QToolButton::clicked, this,
            &TFrame_RichEdit::insertPictureCommand);
    connect(SpeedButton_Find, &QToolButton::clicked, this, &TFrame_RichEdit::findCommand);
    connect(SpeedButton_Replace, &QToolButton::clicked, this, &TFrame_RichEdit::replaceCommand);
    connect(SpeedButton_Space_Std, &QToolButton::clicked, this,
            &TFrame_RichEdit::standardiseSpacing);
    connect(RichEdit, &QTextEdit::cursorPositionChanged, this, &TFrame_RichEdit::syncToolBar);
    connect(RichEdit, &QTextEdit::currentCharFormatChanged, this, &TFrame_RichEdit::syncToolBar);
    connect(RichEdit, &TRich_Edit_Control::entered, this, [this] {
        initialise();
        applySwatchColor();
    });
    connect(RichEdit, &TRich_Edit_Control::colorKeyPressed, this,
            &TFrame_RichEdit::applySwatchColor);
    // The alignment keys of the rich-edit control.
    const std::pair<const char*, QToolButton*> alignKeys[] = {
        {"Ctrl+L", LeftAlign}, {"Ctrl+E", CenterAlign}, {"Ctrl+R", RightAlign}};
    for (const auto& [keys, button] : alignKeys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), RichEdit);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, button, &QToolButton::click);
    }
}

}  // namespace vetra
