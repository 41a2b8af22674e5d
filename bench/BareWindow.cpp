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

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), QColor(30, 30, 34));
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
    // The deck's size, as "WIDTHxHEIGHT", so both programs draw the same area.
    const QStringList size = QApplication::arguments().value(1, QStringLiteral("360x394")).split(u'x');
    BareWindow window;
    window.setGeometry(888, 374, size.value(0).toInt(), size.value(1).toInt());
    window.show();
    return QApplication::exec();
}
