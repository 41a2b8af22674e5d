#include "ui/deck/DeckWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

namespace ScreenCoordinates {

namespace {

// The bottom edge of the main screen in Qt's coordinates, where the panel's y axis starts.
double mainBottom()
{
    const QScreen* main = QGuiApplication::primaryScreen();
    return main ? main->geometry().y() + main->geometry().height() : 0;
}

} // namespace

QRectF fromQt(const QRectF& rect)
{
    return Windows::flipped(rect, mainBottom());
}

// Flipping the y axis is its own inverse.
QRectF toQt(const QRectF& rect)
{
    return fromQt(rect);
}

QPointF pointFromQt(const QPointF& point)
{
    return {point.x(), mainBottom() - point.y()};
}

} // namespace ScreenCoordinates

namespace {

Windows::Screen panelScreen(const QScreen& screen)
{
    return {ScreenCoordinates::fromQt(screen.geometry()),
            ScreenCoordinates::fromQt(screen.availableGeometry())};
}

// The top-level window: frameless, never focused, moved by its background unless pinned. Hover and the
// scroll wheel go to the controller.
class DeckWindowWidget final : public QWidget {
public:
    DeckWindowWidget(QPointer<DesktopPanelController> controller, bool translucent)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                               Qt::NoDropShadowWindowHint)
        , m_controller(std::move(controller))
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_X11DoNotAcceptFocus);
        setAttribute(Qt::WA_TranslucentBackground, translucent);
        setAttribute(Qt::WA_NoSystemBackground, translucent);
        // Without a compositor the window is opaque: around the chip it shows a dark backdrop, not the
        // style's light grey.
        if (!translucent) {
            QPalette backdrop = palette();
            backdrop.setColor(QPalette::Window, QColor(24, 24, 27));
            setPalette(backdrop);
            setAutoFillBackground(true);
        }
        setWindowTitle(QStringLiteral("Marquetto"));
        setMouseTracking(true);
    }

    bool movableByBackground = true;
    std::function<void()> onMoved;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        // Presses on tiles and controls are taken by the content; what arrives here is the background.
        if (event->button() == Qt::LeftButton && movableByBackground && windowHandle())
            windowHandle()->startSystemMove();
    }

    void wheelEvent(QWheelEvent* event) override
    {
        if (!m_controller)
            return;
        ScrollEvent scroll;
        scroll.hasPreciseDeltas = !event->pixelDelta().isNull();
        scroll.delta = scroll.hasPreciseDeltas
                           ? QPointF(event->pixelDelta())
                           : QPointF(event->angleDelta()) / QWheelEvent::DefaultDeltasPerStep;
        scroll.isMomentum = event->phase() == Qt::ScrollMomentum;
        m_controller->handleScroll(scroll);
    }

    void enterEvent(QEnterEvent*) override
    {
        if (m_controller)
            m_controller->handleHoverChange(true);
    }

    void leaveEvent(QEvent*) override
    {
        if (m_controller)
            m_controller->handleHoverChange(false);
    }

    void moveEvent(QMoveEvent*) override
    {
        if (onMoved)
            onMoved();
    }

private:
    QPointer<DesktopPanelController> m_controller;
};

class DeckWindow final : public PanelWindow {
public:
    DeckWindow(WindowStacking& stacking, QWidget* content, QPointer<DesktopPanelController> controller,
               bool translucent)
        : m_stacking(stacking)
        , m_widget(std::make_unique<DeckWindowWidget>(std::move(controller), translucent))
    {
        auto* layout = new QVBoxLayout(m_widget.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content, 0, Qt::AlignLeft | Qt::AlignTop);
        m_widget->onMoved = [this] { Q_EMIT moved(); };
    }

    ~DeckWindow() override { m_widget->onMoved = nullptr; }

    void show(const QRectF& frame, PanelLevel level, bool movable)
    {
        m_widget->movableByBackground = movable;
        m_widget->setGeometry(ScreenCoordinates::toQt(frame).toRect());
        m_stacking.prepare(m_widget->winId());
        m_stacking.setLevel(m_widget->winId(), level);
        m_widget->show();
    }

    [[nodiscard]] QRectF frame() const override { return ScreenCoordinates::fromQt(m_widget->geometry()); }

    void setFrame(const QRectF& frame) override
    {
        m_widget->setGeometry(ScreenCoordinates::toQt(frame).toRect());
        m_widget->repaint();
    }

    void setLevel(PanelLevel level) override { m_stacking.setLevel(m_widget->winId(), level); }
    void setMovableByBackground(bool movable) override { m_widget->movableByBackground = movable; }

    [[nodiscard]] std::optional<Windows::Screen> screen() const override
    {
        const QScreen* screen = m_widget->screen();
        if (!screen)
            return std::nullopt;
        return panelScreen(*screen);
    }

    void close() override { m_widget->close(); }

private:
    WindowStacking& m_stacking;
    std::unique_ptr<DeckWindowWidget> m_widget;
};

} // namespace

QtPanelDesktop::QtPanelDesktop(WindowStacking& stacking, ContentFactory content,
                               std::function<QSizeF()> fittingSize)
    : m_stacking(stacking)
    , m_content(std::move(content))
    , m_fittingSize(std::move(fittingSize))
{
}

void QtPanelDesktop::setController(DesktopPanelController* controller)
{
    m_controller = controller;
    auto follow = [controller](QScreen* screen) {
        QObject::connect(screen, &QScreen::availableGeometryChanged, controller,
                         &DesktopPanelController::screensChanged);
    };
    for (QScreen* screen : QGuiApplication::screens())
        follow(screen);
    QObject::connect(qApp, &QGuiApplication::screenAdded, controller, [controller, follow](QScreen* screen) {
        follow(screen);
        controller->screensChanged();
    });
    // Qt moves the window to another screen only after this signal; the check waits until it has.
    QObject::connect(qApp, &QGuiApplication::screenRemoved, controller, [controller] {
        QTimer::singleShot(0, controller, &DesktopPanelController::screensChanged);
    });
}

std::vector<Windows::Screen> QtPanelDesktop::screens() const
{
    std::vector<Windows::Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(panelScreen(*screen));
    return screens;
}

std::optional<std::size_t> QtPanelDesktop::mainScreen() const
{
    const auto screens = QGuiApplication::screens();
    const auto main = screens.indexOf(QGuiApplication::primaryScreen());
    if (main < 0)
        return std::nullopt;
    return static_cast<std::size_t>(main);
}

QPointF QtPanelDesktop::pointerLocation() const
{
    return ScreenCoordinates::pointFromQt(QCursor::pos());
}

QSizeF QtPanelDesktop::deckFittingSize()
{
    return m_fittingSize();
}

std::unique_ptr<PanelWindow> QtPanelDesktop::createWindow(const QRectF& frame, PanelLevel level,
                                                          bool movableByBackground)
{
    const bool translucent = m_stacking.isCompositing();
    auto window = std::make_unique<DeckWindow>(m_stacking, m_content(translucent), m_controller, translucent);
    window->show(frame, level, movableByBackground);
    return window;
}
