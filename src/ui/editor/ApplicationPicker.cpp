#include "ui/editor/ApplicationPicker.h"

#include "core/MainThread.h"
#include "core/ProgramFile.h"

#include <QAbstractListModel>
#include <QBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QThreadPool>
#include <optional>

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int iconSize = 24;
// Rows keep the icon's height also where the theme has no icon at all; the list stretches them to its width.
constexpr QSize rowSize(0, iconSize + 6);
constexpr int outerPadding = 16;
constexpr QSize sheetSize(420, 480);

const QString programIcon = QStringLiteral("application-x-executable");

// The installed applications; each icon is looked up in the theme only when its row is first drawn, so that
// hundreds of entries list at once.
class ApplicationModel final : public QAbstractListModel {
public:
    ApplicationModel(const std::vector<InstalledApplications::Entry>& entries, QObject* parent)
        : QAbstractListModel(parent)
        , m_entries(entries)
        , m_icons(m_entries.size())
    {
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
    }

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount({}))
            return {};
        const InstalledApplications::Entry& entry = m_entries[static_cast<size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return entry.name;
        case Qt::ToolTipRole:
        case pathRole:
            return entry.desktopPath;
        case Qt::DecorationRole: {
            std::optional<QIcon>& icon = m_icons[static_cast<size_t>(index.row())];
            if (!icon)
                icon = iconFor(entry.iconName);
            return *icon;
        }
        case Qt::SizeHintRole:
            return rowSize;
        default:
            return {};
        }
    }

private:
    // An Icon value is an absolute file or a name in the icon theme; an application without one still looks
    // like a program.
    [[nodiscard]] static QIcon iconFor(const QString& iconValue)
    {
        const QFileInfo file(iconValue);
        if (file.isAbsolute())
            return file.isFile() ? QIcon(iconValue) : QIcon::fromTheme(programIcon);
        const bool themed = !iconValue.isEmpty() && QIcon::hasThemeIcon(iconValue);
        return QIcon::fromTheme(themed ? iconValue : programIcon);
    }

    std::vector<InstalledApplications::Entry> m_entries;
    mutable std::vector<std::optional<QIcon>> m_icons;
};

bool isApplication(const QFileInfo& file)
{
    return file.isFile() && (file.suffix() == u"desktop" || ProgramFile::isProgram(file.filePath()));
}

} // namespace

ApplicationPicker::ApplicationPicker(const InstalledApplications& applications,
                                     std::function<void(const QString&)> onPick, QWidget* parent)
    : QDialog(parent)
    , m_onPick(std::move(onPick))
    , m_field(new QLineEdit(this))
    , m_list(new QListView(this))
    , m_matches(new QSortFilterProxyModel(this))
    , m_message(new QLabel(this))
    , m_choose(new QPushButton(QStringLiteral("Choose"), this))
{
    setWindowTitle(QStringLiteral("Choose an Application"));
    resize(sheetSize);
    m_field->setPlaceholderText(QStringLiteral("Search applications…"));
    m_field->setClearButtonEnabled(true);
    m_matches->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_list->setModel(m_matches);
    m_list->setUniformItemSizes(true);
    m_list->setIconSize({iconSize, iconSize});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_message->setWordWrap(true);
    m_message->setText(QStringLiteral("Loading applications…"));

    auto* browse = new QPushButton(QStringLiteral("Choose…"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_choose->setDefault(true);
    auto* footer = new QHBoxLayout;
    footer->addWidget(browse);
    footer->addStretch(1);
    footer->addWidget(cancel);
    footer->addWidget(m_choose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(outerPadding, outerPadding, outerPadding, outerPadding);
    layout->addWidget(m_field);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_message);
    layout->addLayout(footer);

    connect(m_field, &QLineEdit::textChanged, this, &ApplicationPicker::showMatches);
    // Return reaches "Choose" from the list as well, so only a double click picks from the list itself.
    connect(m_list, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { pick(index.data(pathRole).toString()); });
    connect(m_choose, &QPushButton::clicked, this, &ApplicationPicker::pickCurrent);
    connect(browse, &QPushButton::clicked, this, &ApplicationPicker::chooseFile);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showMatches({});

    QThreadPool::globalInstance()->start([&applications, self = QPointer<ApplicationPicker>(this)] {
        const std::vector<InstalledApplications::Entry> entries = applications.entries();
        MainThread::post(self, [entries](ApplicationPicker& picker) { picker.showApplications(entries); });
    });
}

void ApplicationPicker::showApplications(const std::vector<InstalledApplications::Entry>& entries)
{
    m_matches->setSourceModel(new ApplicationModel(entries, m_matches));
    m_message->hide();
    showMatches(m_field->text());
}

void ApplicationPicker::pick(const QString& path)
{
    m_onPick(path);
    accept();
}

void ApplicationPicker::pickCurrent()
{
    const QModelIndex current = m_list->currentIndex();
    if (current.isValid())
        pick(current.data(pathRole).toString());
}

void ApplicationPicker::chooseFile()
{
    const QString current = m_list->currentIndex().data(pathRole).toString();
    const QString folder = current.isEmpty() ? QDir::homePath() : QFileInfo(current).path();
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Choose an Application"), folder,
                                     QStringLiteral("Applications (*.desktop);;All Files (*)"));
    if (path.isEmpty())
        return;
    if (!isApplication(QFileInfo(path))) {
        m_message->setText(
            QStringLiteral("“%1” is neither a desktop entry nor a program.").arg(QFileInfo(path).fileName()));
        m_message->show();
        return;
    }
    pick(path);
}

void ApplicationPicker::showMatches(const QString& text)
{
    m_matches->setFilterFixedString(text.trimmed());
    // Return then picks the best match without a trip to the list.
    m_list->setCurrentIndex(m_matches->index(0, 0));
    m_choose->setEnabled(m_matches->rowCount() > 0);
}
