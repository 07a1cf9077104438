#include "app/window/screen_fit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace fw {

namespace {

const QScreen* ScreenOf(const QWidget& window) {
    if (const QWidget* parent = window.parentWidget(); parent && parent->screen())
        return parent->screen();
    return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

// Moves the window's layout, with its widgets, into a scroll area that fills the window.
void ScrollContent(QWidget& window) {
    QLayout* layout = window.layout();
    auto* content = new QWidget;
    content->setLayout(layout);  // takes the layout and its widgets over from the window
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("screenFitScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(&window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

}  // namespace

void FitIntoScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize room(std::max(1, area.width() - WindowFrameRoom.width()), std::max(1, area.height() - WindowFrameRoom.height()));
    if (window.layout()) window.layout()->activate();
    QSize size = window.sizeHint().expandedTo(window.minimumSize());
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    if (window.layout() && (least.width() > room.width() || least.height() > room.height())) {
        ScrollContent(window);
        size += QSize(window.style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0);
    }
    window.setMinimumSize(window.minimumSize().boundedTo(room));
    size = size.boundedTo(room);
    window.resize(size);

    // Centred over the parent's window (or the area), then moved inside the area.
    const QWidget* parent = window.parentWidget();
    const QRect over = parent ? parent->window()->frameGeometry() : area;
    const QSize outer = size + WindowFrameRoom;
    QPoint topLeft = over.center() - QPoint(outer.width() / 2, outer.height() / 2);
    topLeft.setX(std::clamp(topLeft.x(), area.left(), area.right() + 1 - outer.width()));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), area.bottom() + 1 - outer.height()));
    window.move(topLeft);
}

void KeepTitleWhole(QWidget& window, int contentWidth) {
    constexpr int titleBarButtons = 160;
    const int title = window.fontMetrics().horizontalAdvance(window.windowTitle());
    window.setMinimumWidth(std::max({window.minimumWidth(), title + titleBarButtons, contentWidth}));
}

}  // namespace fw
