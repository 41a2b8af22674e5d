// Cloud sync switched on and off: which deck is kept when both sides have one, what the user is asked, and
// the shared deck kept as a backup when this machine's wins.
#include "core/Clock.h"
#include "model/Settings.h"
#include "platform/AlertPresenter.h"
#include "sync/CloudDeck.h"

using CloudRule::Reading;

void CloudDeck::setCloudDeck(bool on, Chooser choose, std::function<void(bool)> done)
{
    if (!done)
        done = [](bool) {};
    if (!on) {
        turnOff();
        done(false);
        return;
    }
    if (m_turningOn)
        return;
    m_turningOn = true;
    if (!choose) {
        choose = [this](const Alert& question) -> std::optional<Side> {
            switch (m_services.alerts.present(question)) {
            case 0:
                return Side::cloud;
            case 1:
                return Side::local;
            default:
                return std::nullopt;
            }
        };
    }
    inspect([this, choose, done](const CloudRemote& remote) {
        answerSwitch(remote, choose);
        m_turningOn = false;
        done(m_isOn);
    });
}

void CloudDeck::answerSwitch(const CloudRemote& remote, const Chooser& choose)
{
    switch (CloudRule::switchOn(remote.reading, remote.fingerprint, localFingerprint())) {
    case CloudRule::SwitchOn::useShared:
        turnOn(Side::cloud, remote);
        return;
    case CloudRule::SwitchOn::keepLocal:
        turnOn(Side::local, remote);
        return;
    case CloudRule::SwitchOn::ask: {
        const DeckTransfer::DeckFile& file = *remote.file;
        const Alert question = texts().question(file.sourceName.value_or(QString()),
                                                actionTileCount(file.pages), file.exportedAt);
        if (const std::optional<Side> side = choose(question))
            turnOn(*side, remote);
        return;
    }
    case CloudRule::SwitchOn::refuse:
        if (const std::optional<Alert> refusal = texts().refusal(remote.reading))
            (void)m_services.alerts.present(*refusal);
        return;
    }
}

void CloudDeck::turnOn(Side keeping, const CloudRemote& from)
{
    DeckSettings& settings = m_services.settings;
    if (keeping == Side::cloud) {
        settings.setCloudDeckFileFingerprint(QString());
        settings.setCloudDeckFingerprint(localFingerprint());
    } else {
        const bool isDeck = from.reading == Reading::deck;
        settings.setCloudDeckFileFingerprint(isDeck ? from.fingerprint : QString());
        if (isDeck) {
            // The upload must carry a revision above the one it replaces, or other machines could not tell
            // the files apart by it.
            raiseRevision(from.file->revision.value_or(0));
            if (from.fingerprint != localFingerprint())
                keepSharedAsBackup(from);
        }
        settings.setCloudDeckFingerprint(QString());
        settings.setCloudDeckLayoutEdit(editTime());
        // Choosing this deck over a shared one makes it the user's; an empty folder alone does not, or a
        // machine switched on before its sync client pulled the folder would share its starter deck.
        if (isDeck)
            m_localIsReal = true;
    }
    setOn(true);
    setStatus(texts().checking(), true);
    startWatching();
    check();
}

void CloudDeck::keepSharedAsBackup(const CloudRemote& remote)
{
    m_queue.runThenReport<Pages>(
        this,
        [file = remote.file, iconsDir = m_services.iconsDir, now = m_services.clock.now(),
         vet = m_services.vet] { return DeckTransfer::storeIcons(*file, iconsDir, now, vet); },
        [this](const Pages& pages) { m_services.store.backups().saveBackup(pages); });
}

void CloudDeck::turnOff()
{
    setOn(false);
    setStatus(QString(), false);
    stopWatching();
}
