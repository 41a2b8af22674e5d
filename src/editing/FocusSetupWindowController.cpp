#include "editing/FocusSetupWindowController.h"

#include "editing/FocusSetupView.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace {

constexpr QSize windowSize(440, 260);

} // namespace

FocusSetupWindowController::FocusSetupWindowController(FocusEngine& engine, PhosphorFont& font,
                                                       Workspace& workspace, const PlatformWordings& wordings,
                                                       QString resourcesDir, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_font(font)
    , m_workspace(workspace)
    , m_wordings(wordings)
    , m_resourcesDir(std::move(resourcesDir))
{
}

FocusSetupWindowController::~FocusSetupWindowController() = default;

QStringList FocusSetupWindowController::shortcutFiles(const QString& resourcesDir)
{
    QStringList files;
    for (const QString& name : {QStringLiteral("Do Not Disturb On"), QStringLiteral("Do Not Disturb Off")}) {
        const QString file = QDir(resourcesDir).filePath(name + QStringLiteral(".shortcut"));
        if (QFileInfo::exists(file))
            files << file;
    }
    return files;
}

void FocusSetupWindowController::show()
{
    if (!m_view) {
        m_view = std::make_unique<FocusSetupView>(m_engine, m_font, m_workspace, m_wordings,
                                                  shortcutFiles(m_resourcesDir));
        m_view->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint);
        m_view->setWindowTitle(QStringLiteral("Do Not Disturb Setup"));
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            m_view->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, windowSize,
                                                    screen->availableGeometry()));
    }
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
}
