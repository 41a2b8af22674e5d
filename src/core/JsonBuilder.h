#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <variant>
#include <vector>

// Builds a QJsonValue through the same calls as CanonicalJson::Writer, so one encoder can either stream bytes
// or hand a value to code that adds to it.
class JsonBuilder {
public:
    void beginObject() { m_open.push_back({QJsonObject{}, {}}); }
    void endObject() { close(); }
    void beginArray() { m_open.push_back({QJsonArray{}, {}}); }
    void endArray() { close(); }
    void key(QStringView key) { m_open.back().pendingKey = key.toString(); }

    void string(QStringView text) { add(text.toString()); }
    void boolean(bool value) { add(value); }

    [[nodiscard]] QJsonValue take() { return std::move(m_result); }

private:
    struct Open {
        std::variant<QJsonObject, QJsonArray> container;
        QString pendingKey;
    };

    void add(QJsonValue value)
    {
        if (m_open.empty()) {
            m_result = std::move(value);
            return;
        }
        Open& open = m_open.back();
        if (auto* object = std::get_if<QJsonObject>(&open.container))
            object->insert(open.pendingKey, value);
        else
            std::get<QJsonArray>(open.container).append(value);
    }

    void close()
    {
        Open finished = std::move(m_open.back());
        m_open.pop_back();
        std::visit([this](auto& container) { add(QJsonValue(container)); }, finished.container);
    }

    std::vector<Open> m_open;
    QJsonValue m_result;
};
