// The baseline of the deck's whole-process measurements: the smallest Qt Widgets program that shows a
// frameless window of the deck's size and paints it once.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
public:
    BareWindow()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

    bool withText = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(30, 30, 34));
        // A window with a line of text pays for the desktop's fonts as the deck does.
        if (withText) {
            painter.setPen(Qt::white);
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Marquetto"));
        }
        if (!m_painted && qEnvironmentVariableIsSet("MARQUETTO_EXIT_AFTER_FIRST_PAINT"))
            QTimer::singleShot(0, qApp, &QApplication::quit);
        m_painted = true;
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The deck's size, as "WIDTHxHEIGHT", so both programs draw the same area; "text" after it draws a line.
    const QStringList size = QApplication::arguments().value(1, QStringLiteral("360x394")).split(u'x');
    BareWindow window;
    window.withText = QApplication::arguments().value(2) == u"text";
    window.setGeometry(888, 374, size.value(0).toInt(), size.value(1).toInt());
    window.show();
    return QApplication::exec();
}
