#include "ui/editor/FocusSetupWindowController.h"

#include "ui/editor/FocusSetupView.h"
#include "ui/editor/KeptWindow.h"

#include <QDir>
#include <QFileInfo>

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
        KeptWindow::prepare(*m_view, QStringLiteral("Do Not Disturb Setup"), windowSize);
    }
    KeptWindow::present(*m_view);
}
