#include "sync/CloudDeck.h"

#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/Logging.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "platform/AlertPresenter.h"
#include "platform/WakeWatch.h"
#include "sync/CloudFolder.h"
#include "transfer/DeckFingerprint.h"
#include "transfer/SyncedScripts.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <cmath>
#include <limits>

using CloudRule::Reading;

namespace {

QDateTime fromSeconds(double seconds)
{
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(std::floor(seconds)), Qt::UTC);
}

double seconds(const QDateTime& time)
{
    return time.isValid() ? static_cast<double>(time.toMSecsSinceEpoch()) / 1000.0 : 0.0;
}

// Runs on the queue: the deck file as the shared copy, written atomically into the synced folder.
CloudDeck::Upload writeShared(const DeckTransfer::DeckFile& file, const QString& driveRoot)
{
    using Upload = CloudDeck::Upload;
    if (driveRoot.isEmpty() || !QFileInfo(driveRoot).isDir())
        return Upload::failed;
    const std::optional<QByteArray> bytes = DeckTransfer::encodeReadable(file);
    if (!bytes) {
        qCWarning(lcCloud).noquote() << "Marquetto: the deck is too large to share";
        return Upload::tooLarge;
    }
    if (!QDir().mkpath(CloudFolder::syncFolder(driveRoot))) {
        qCWarning(lcCloud).noquote() << "Marquetto: couldn't make the folder"
                                     << CloudFolder::syncFolder(driveRoot);
        return Upload::failed;
    }
    if (const auto failure = AtomicFile::write(CloudFolder::syncFile(driveRoot), *bytes)) {
        qCWarning(lcCloud).noquote() << "Marquetto: couldn't save the shared deck:" << *failure;
        return Upload::failed;
    }
    return Upload::written;
}

} // namespace

CloudDeck::CloudDeck(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_isOn(m_services.settings.cloudDeck())
{
    m_timer.setInterval(period);
    connect(&m_timer, &QTimer::timeout, this, &CloudDeck::check);
    m_pendingSend.setSingleShot(true);
    m_pendingSend.setInterval(editDelay);
    connect(&m_pendingSend, &QTimer::timeout, this, &CloudDeck::sendDue);
    m_firstPass.setSingleShot(true);
    m_firstPass.setInterval(startDelay);
    connect(&m_firstPass, &QTimer::timeout, this, &CloudDeck::check);
    connect(&m_services.store, &TileStore::pagesChanged, this, &CloudDeck::pagesChanged);
    connect(&m_services.settings, &DeckSettings::gridChanged, this, [this] { m_localPrint.reset(); });
}

CloudDeck::~CloudDeck() = default;

QString CloudDeck::localFingerprint() const
{
    // A quiet pass compares fingerprints only; hashing the whole deck each time would be most of its cost.
    if (!m_localPrint) {
        const DeckSettings& settings = m_services.settings;
        m_localPrint =
            DeckFingerprint::of(m_services.store.pages(), settings.gridColumns(), settings.gridRows());
    }
    return *m_localPrint;
}

CloudTexts CloudDeck::texts() const
{
    return CloudTexts(m_services.wordings, QFileInfo(m_services.driveRoot()).fileName());
}

void CloudDeck::startIfOn()
{
    if (!m_isOn)
        return;
    startWatching();
    m_firstPass.start();
}

void CloudDeck::startWatching()
{
    if (m_watching)
        return;
    m_watching = true;
    m_timer.start();
    if (!m_wake && m_services.createWakeWatch) {
        m_wake = m_services.createWakeWatch();
        connect(m_wake.get(), &WakeWatch::woke, this, &CloudDeck::check);
        m_wake->start();
    }
}

void CloudDeck::stopWatching()
{
    m_watching = false;
    m_timer.stop();
    m_pendingSend.stop();
    m_firstPass.stop();
    m_wake.reset();
}

void CloudDeck::pagesChanged(TileStore::ChangeOrigin origin)
{
    using Origin = TileStore::ChangeOrigin;
    m_localPrint.reset();
    if (m_applying || origin == Origin::cloud)
        return;
    // An edit made while sync was off still makes the deck the user's own; a new grid alone does not.
    if (origin != Origin::artwork && origin != Origin::grid)
        m_localIsReal = true;
    if (!m_watching)
        return;
    if (origin != Origin::artwork)
        m_services.settings.setCloudDeckLayoutEdit(editTime());
    m_pendingSend.start();
}

double CloudDeck::editTime() const
{
    // A clock set back must not make this edit older than the deck it was made on: it would lose a conflict
    // it should win.
    return std::max(seconds(m_services.clock.now()), m_services.settings.cloudDeckLayoutEdit());
}

void CloudDeck::sendDue()
{
    m_pendingSend.stop();
    check();
}

void CloudDeck::check()
{
    if (!m_isOn)
        return;
    if (m_running) {
        m_again = true;
        return;
    }
    m_running = true;
    inspect([this](const CloudRemote& remote) { reconcile(remote); });
}

void CloudDeck::inspect(std::function<void(CloudRemote)> done)
{
    m_queue.runThenReport<CloudRemote>(
        this, [reading = m_reading, root = m_services.driveRoot()] { return reading->read(root); },
        std::move(done));
}

void CloudDeck::finish()
{
    m_running = false;
    Q_EMIT passFinished();
    if (m_again) {
        m_again = false;
        check();
    }
}

void CloudDeck::reconcile(const CloudRemote& remote)
{
    if (!m_isOn) {
        finish();
        return;
    }
    const DeckSettings& settings = m_services.settings;
    const CloudRule::Pass pass{
        remote.reading,
        remote.fingerprint,
        localFingerprint(),
        settings.cloudDeckFileFingerprint(),
        settings.cloudDeckFingerprint(),
        localIsReal(),
        settings.cloudDeckLayoutEdit(),
        remote.file ? seconds(remote.file->exportedAt) : 0.0,
    };
    switch (CloudRule::decide(pass)) {
    case CloudRule::Step::record:
        record(remote);
        break;
    case CloudRule::Step::settle:
        settleIfPassing();
        finish();
        break;
    case CloudRule::Step::send:
        send();
        break;
    case CloudRule::Step::apply:
        apply(remote);
        break;
    case CloudRule::Step::report:
        setStatus(texts().status(remote.reading), true);
        finish();
        break;
    }
}

// An agreement recorded for a deck that is not on disk would outlive it: a deck that starts again with the
// older layout would take that for a local edit and send it over the newer shared deck.
void CloudDeck::layoutNotSaved()
{
    setStatus(texts().layoutNotSaved(), true);
    finish();
}

void CloudDeck::record(const CloudRemote& remote)
{
    // Every quiet pass lands here, so a layout that could not be written is tried again at each.
    if (!m_services.store.savePendingChange()) {
        layoutNotSaved();
        return;
    }
    DeckSettings& settings = m_services.settings;
    settings.setCloudDeckFileFingerprint(remote.fingerprint);
    settings.setCloudDeckFingerprint(localFingerprint());
    raiseRevision(remote.file->revision.value_or(0));
    settleIfPassing();
    finish();
}

void CloudDeck::send()
{
    const DeckSettings& settings = m_services.settings;
    const QString print = localFingerprint();
    // Only an edit can make a deck that was too large fit; until then, encoding it again every pass is waste.
    if (print == m_tooLargePrint) {
        setStatus(CloudTexts::tooLarge(), true);
        finish();
        return;
    }
    const qint64 revision = qint64(settings.cloudDeckRevision()) + 1;
    const double edited = settings.cloudDeckLayoutEdit();
    const QDateTime editedAt = fromSeconds(edited > 0 ? edited : seconds(m_services.clock.now()));
    auto write = [pages = m_services.store.pages(),
                  grid = DeckTransfer::Grid{settings.gridColumns(), settings.gridRows()},
                  iconsDir = m_services.iconsDir, editedAt, revision, device = deviceID(),
                  machineName = m_services.machineName, root = m_services.driveRoot()] {
        DeckTransfer::DeckFile file = DeckTransfer::snapshot(pages, grid, iconsDir, editedAt);
        file.exportedAt = editedAt;
        file.revision = revision;
        file.sourceDevice = device;
        if (const QString name = machineName ? machineName() : QString(); !name.isEmpty())
            file.sourceName = name;
        return writeShared(file, root);
    };
    m_queue.runThenReport<Upload>(this, std::move(write),
                                  [this, revision, print](Upload upload) { sent(upload, revision, print); });
}

void CloudDeck::sent(Upload upload, qint64 revision, const QString& print)
{
    DeckSettings& settings = m_services.settings;
    const bool saved = m_services.store.saveProblem().isEmpty();
    const bool written = upload == Upload::written;
    if (written)
        raiseRevision(revision);
    // Unrecorded, the upload of a deck that is not on disk counts as the other side's change: a deck that
    // starts again with its older layout takes it back from the folder.
    if (written && saved) {
        settings.setCloudDeckFileFingerprint(print);
        settings.setCloudDeckFingerprint(print);
    }
    m_tooLargePrint = upload == Upload::tooLarge ? print : QString();
    if (m_isOn && !saved) {
        setStatus(texts().layoutNotSaved(), true);
    } else if (m_isOn) {
        switch (upload) {
        case Upload::written:
            setStatus(CloudTexts::lastSynced(m_services.clock.now()), false);
            break;
        case Upload::tooLarge:
            setStatus(CloudTexts::tooLarge(), true);
            break;
        case Upload::failed:
            setStatus(texts().saveFailed(), true);
            break;
        }
    }
    finish();
}

void CloudDeck::apply(const CloudRemote& remote)
{
    if (m_isEditing()) {
        setStatus(CloudTexts::editWaiting(), true);
        finish();
        return;
    }
    // Storing the icons decodes images; the decision is checked again once they are stored, as the user may
    // have edited meanwhile.
    m_queue.runThenReport<Pages>(
        this,
        [file = remote.file, iconsDir = m_services.iconsDir, now = m_services.clock.now(),
         vet = m_services.vet] { return DeckTransfer::storeIcons(*file, iconsDir, now, vet); },
        [this, remote, print = localFingerprint()](Pages pages) {
            replaceWith(remote, std::move(pages), print);
        });
}

void CloudDeck::replaceWith(const CloudRemote& remote, Pages pages, const QString& printAtDecision)
{
    if (!m_isOn || m_isEditing() || localFingerprint() != printAtDecision) {
        m_again = m_isOn;
        finish();
        return;
    }
    TileStore& store = m_services.store;
    DeckSettings& settings = m_services.settings;
    const QStringList heldBefore = settings.cloudDeckHeldScripts();
    const QStringList held = SyncedScripts::held(pages, store.pages(), heldBefore);
    const bool newlyHeld = std::any_of(held.begin(), held.end(),
                                       [&](const QString& script) { return !heldBefore.contains(script); });
    settings.setCloudDeckHeldScripts(held);
    const int page = store.currentPage();
    m_applying = true;
    const bool gridChanged = DeckTransfer::replaceDeck(std::move(pages), remote.file->grid(), store, settings,
                                                       TileStore::ChangeOrigin::cloud);
    m_applying = false;
    store.goToPage(page);
    if (m_services.starterHint.isPending())
        m_services.starterHint.dismiss();
    if (gridChanged)
        m_rebuildPanel();
    // The replacement was just written, or failed to be.
    if (store.isSavePending()) {
        layoutNotSaved();
        return;
    }
    settings.setCloudDeckFileFingerprint(remote.fingerprint);
    settings.setCloudDeckFingerprint(localFingerprint());
    raiseRevision(remote.file->revision.value_or(0));
    settings.setCloudDeckLayoutEdit(seconds(remote.file->exportedAt));
    m_localIsReal = true;
    const QString source = remote.file->sourceName.value_or(QString());
    setStatus(texts().updatedFrom(source, m_services.clock.now()), false);
    if (newlyHeld)
        askToAllowScripts(source);
    finish();
}

bool CloudDeck::mayRun(const Tile& tile)
{
    if (!SyncedScripts::isHeld(tile, m_services.settings.cloudDeckHeldScripts()))
        return true;
    return askToAllowScripts(QString());
}

bool CloudDeck::askToAllowScripts(const QString& sourceName)
{
    const int count =
        SyncedScripts::heldTileCount(m_services.store.pages(), m_services.settings.cloudDeckHeldScripts());
    if (count == 0)
        return true;
    if (m_services.alerts.present(texts().scriptsHeld(sourceName, count)) != 0)
        return false;
    allowScripts();
    return true;
}

void CloudDeck::allowScripts()
{
    m_services.settings.setCloudDeckHeldScripts({});
}

void CloudDeck::setOn(bool on)
{
    m_services.settings.setCloudDeck(on);
    if (m_isOn == on)
        return;
    m_isOn = on;
    Q_EMIT isOnChanged(on);
}

void CloudDeck::setStatus(const QString& status, bool passing)
{
    m_statusIsPassing = passing;
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged(status);
}

void CloudDeck::settleIfPassing()
{
    if (!m_services.store.saveProblem().isEmpty()) {
        setStatus(texts().layoutNotSaved(), true);
        return;
    }
    if (!m_status.isEmpty() && !m_statusIsPassing)
        return;
    setStatus(CloudTexts::upToDate(), false);
}

void CloudDeck::raiseRevision(qint64 seen)
{
    DeckSettings& settings = m_services.settings;
    const qint64 revision =
        std::clamp<qint64>(seen, settings.cloudDeckRevision(), std::numeric_limits<int>::max());
    settings.setCloudDeckRevision(static_cast<int>(revision));
}

bool CloudDeck::localIsReal()
{
    if (!m_localIsReal)
        m_localIsReal = m_services.store.loadedFromDisk() && !m_services.settings.isDeckUntouched();
    // A deck without a single tile holds nothing worth sharing, however it came to be.
    return *m_localIsReal && actionTileCount(m_services.store.pages()) > 0;
}

QString CloudDeck::deviceID()
{
    if (m_services.settings.cloudDeckDevice().isEmpty())
        m_services.settings.setCloudDeckDevice(QUuid::createUuid().toString(QUuid::WithoutBraces));
    return m_services.settings.cloudDeckDevice();
}
