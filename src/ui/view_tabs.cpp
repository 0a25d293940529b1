#include "ui/view_tabs.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include "ui/ui_text.h"

namespace vetra {
namespace {

constexpr int kStrip_Height = 23;

QToolButton* flatButton(QWidget* parent, const char* name, std::string_view hint,
                        const QString& glyph) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setToolTip(uiText(hint));
    button->setText(glyph);
    button->setFixedSize(22, 20);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

TView_Tabs::TView_Tabs(QWidget* parent) : QWidget(parent) {
    setObjectName("ScrollBox_Top");
    setFixedHeight(kStrip_Height);
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, colorFromBgr(0xF9F1F1));
    setPalette(colors);

    Tab_Area_ = new QWidget(this);
    auto* style = new QWidget(this);
    style->setObjectName("ScrollBox_Style");
    auto* newView = flatButton(style, "SpeedButton_New_View", "創建子視圖編輯", "+");
    auto* closeView = flatButton(style, "SpeedButton_Close_View", "關閉當前子視圖", "×");
    connect(newView, &QToolButton::clicked, this, &TView_Tabs::newViewClicked);
    connect(closeView, &QToolButton::clicked, this, &TView_Tabs::closeViewClicked);
    auto* styleLayout = new QHBoxLayout(style);
    styleLayout->setContentsMargins(0, 0, 2, 0);
    styleLayout->setSpacing(0);
    styleLayout->addWidget(newView);
    styleLayout->addWidget(closeView);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Tab_Area_, 1);
    layout->addWidget(style);
}

void TView_Tabs::setTabs(const QStringList& captions, int current) {
    // The panels are rebuilt only when the captions change: a refresh after
    // every key must stay cheap.
    bool same = captions == Captions_ && Panels_.size() == captions.size();
    Captions_ = captions;
    if (!same) {
        qDeleteAll(Panels_);
        Panels_.clear();
        int x = 0;
        for (int i = 0; i < captions.size(); ++i) {
            auto* panel = new QWidget(Tab_Area_);
            panel->setObjectName(QString("Panel_View_%1").arg(i));
            auto* label = new QLabel(captions[i], panel);
            label->setObjectName("Label_View");
            label->setFont(QFont("Arial", 9));
            label->adjustSize();
            int width = label->width() + 10;
            panel->setGeometry(x, 0, width, kStrip_Height);
            label->move((width - label->width()) / 2, (kStrip_Height - label->height()) / 2);
            panel->installEventFilter(this);
            label->installEventFilter(this);
            panel->show();
            Panels_.append(panel);
            x += width;
        }
    }
    for (int i = 0; i < Panels_.size(); ++i) {
        auto* label = Panels_[i]->findChild<QLabel*>("Label_View");
        QPalette colors = label->palette();
        colors.setColor(QPalette::WindowText,
                        i == current ? QColor(0xFF, 0, 0) : QColor(0x80, 0x80, 0x80));
        label->setPalette(colors);
    }
}

QWidget* TView_Tabs::tabPanel(int index) const {
    return index >= 0 && index < Panels_.size() ? Panels_[index] : nullptr;
}

bool TView_Tabs::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    for (int i = 0; i < Panels_.size(); ++i) {
        if (watched != Panels_[i] && watched->parent() != Panels_[i]) continue;
        // Handled after this event: switching or closing a view may rebuild
        // the panels, this one included.
        bool press = event->type() == QEvent::MouseButtonPress;
        QTimer::singleShot(0, this, [this, i, press] {
            if (press)
                emit tabClicked(i);
            else
                emit tabDoubleClicked(i);
        });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vetra
