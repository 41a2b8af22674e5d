#include "platform/linux/desktop/GnomeFavourites.h"

#include "core/CodePoint.h"
#include "core/Logging.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace {

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// A reader for the one shape gsettings prints for a string array.
class StringArrayParser final {
public:
    explicit StringArrayParser(QStringView text)
        : m_text(text)
    {
    }

    [[nodiscard]] std::optional<QStringList> parse()
    {
        skipSpace();
        // Empty arrays are printed with their type, as the text "[]" alone does not say what it holds.
        if (accept(u'@')) {
            if (!accept(u'a') || !accept(u's'))
                return std::nullopt;
        }
        skipSpace();
        if (!accept(u'['))
            return std::nullopt;
        QStringList items;
        skipSpace();
        if (!accept(u']')) {
            while (true) {
                std::optional<QString> item = string();
                if (!item)
                    return std::nullopt;
                items << *item;
                skipSpace();
                if (accept(u']'))
                    break;
                if (!accept(u','))
                    return std::nullopt;
                skipSpace();
            }
        }
        skipSpace();
        if (!atEnd())
            return std::nullopt;
        return items;
    }

private:
    [[nodiscard]] bool atEnd() const { return m_pos >= m_text.size(); }

    void skipSpace()
    {
        while (!atEnd() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    bool accept(char16_t c)
    {
        if (atEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }

    std::optional<QString> string()
    {
        if (atEnd() || (m_text[m_pos] != u'\'' && m_text[m_pos] != u'"'))
            return std::nullopt;
        const QChar quote = m_text[m_pos++];
        QString value;
        while (!atEnd()) {
            const QChar c = m_text[m_pos++];
            if (c == quote)
                return value;
            if (c != u'\\') {
                value += c;
                continue;
            }
            if (atEnd() || !escape(value))
                return std::nullopt;
        }
        return std::nullopt;
    }

    // The character after a backslash: C's control escapes, "\uXXXX" and "\UXXXXXXXX"; any other character
    // stands for itself, which covers the quotes and the backslash.
    bool escape(QString& value)
    {
        const QChar c = m_text[m_pos++];
        switch (c.unicode()) {
        case u'a':
            value += u'\a';
            return true;
        case u'b':
            value += u'\b';
            return true;
        case u'f':
            value += u'\f';
            return true;
        case u'n':
            value += u'\n';
            return true;
        case u'r':
            value += u'\r';
            return true;
        case u't':
            value += u'\t';
            return true;
        case u'v':
            value += u'\v';
            return true;
        case u'u':
            return codePoint(4, value);
        case u'U':
            return codePoint(8, value);
        default:
            value += c;
            return true;
        }
    }

    bool codePoint(qsizetype digits, QString& value)
    {
        if (m_text.size() - m_pos < digits)
            return false;
        char32_t code = 0;
        for (qsizetype i = 0; i < digits; ++i) {
            const int digit = hexValue(m_text[m_pos + i]);
            if (digit < 0)
                return false;
            code = code * 16 + static_cast<char32_t>(digit);
        }
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        m_pos += digits;
        value += characterText(code);
        return true;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<QStringList> GnomeFavourites::parseStringArray(QStringView gvariantText)
{
    return StringArrayParser(gvariantText).parse();
}

QStringList GnomeFavourites::readFavourites(const QString& program, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    QProcess process;
    process.setProgram(program);
    process.setArguments(
        {QStringLiteral("get"), QStringLiteral("org.gnome.shell"), QStringLiteral("favorite-apps")});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    // Desktops without GNOME's settings program or schema are normal: they just have no favourites here.
    if (!process.waitForStarted(static_cast<int>(deadline.remainingTime()))) {
        qCDebug(lcPlatform).noquote() << "Marquetto: couldn't start" << program << process.errorString();
        return {};
    }
    if (!process.waitForFinished(static_cast<int>(deadline.remainingTime()))) {
        qCWarning(lcPlatform).noquote() << "Marquetto:" << program << "did not answer in time; stopped it";
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const std::optional<QStringList> favourites =
        parseStringArray(QString::fromUtf8(process.readAllStandardOutput()));
    if (!favourites)
        qCWarning(lcPlatform).noquote() << "Marquetto: unexpected favourites from" << program;
    return favourites.value_or(QStringList());
}

QStringList GnomeFavourites::readFavourites()
{
    return readFavourites(QStringLiteral("gsettings"), std::chrono::seconds(2));
}
