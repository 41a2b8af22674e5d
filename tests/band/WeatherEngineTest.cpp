#include "band/WeatherEngine.h"

#include "band/OpenMeteo.h"
#include "band/WeatherText.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/LocalHttpServer.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(WeatherTextTest, CodesMapToSymbolsAndTemperaturesRoundHalfAwayFromZero)
{
    EXPECT_EQ(WeatherText::symbolName(0, false), QStringLiteral("moon.stars")) << "a clear night";
    EXPECT_EQ(WeatherText::symbolName(42, true), QStringLiteral("cloud")) << "a code no table holds";

    const struct {
        double celsius;
        QLocale::MeasurementSystem system;
        const char* text;
    } temperatures[] = {{-21.5, QLocale::MetricSystem, "-22°"},
                        {-0.4, QLocale::MetricSystem, "0°"},
                        {-40, QLocale::ImperialUSSystem, "-40°"},
                        {20, QLocale::ImperialUKSystem, "20°"}};
    for (const auto& c : temperatures)
        EXPECT_EQ(WeatherText::temperature(c.celsius, c.system), QString::fromUtf8(c.text)) << c.celsius;
}

TEST(OpenMeteoTest, BrokenAnswersAreRefused)
{
    EXPECT_EQ(OpenMeteo::parse(R"({"current":{"temperature_2m":21.5,"weather_code":61,"is_day":0}})"),
              (OpenMeteo::Conditions{21.5, 61, false}));
    EXPECT_EQ(OpenMeteo::parse(R"({"current":{"temperature_2m":-3,"weather_code":0}})"),
              (OpenMeteo::Conditions{-3, 0, true}));
    LogCapture log;
    for (const char* body :
         {R"({"current":{"temperature_2m":NaN,"weather_code":1}})", R"({"current":{"weather_code":1}})",
          R"({"current":{"temperature_2m":"21","weather_code":1}})",
          R"({"current":{"temperature_2m":21,"weather_code":2.5}})", "<html>Bad gateway</html>"})
        EXPECT_FALSE(OpenMeteo::parse(body)) << body;
    EXPECT_EQ(log.lines().size(), 5);
}

TEST(WeatherPlaceTest, OnlyTwoNumbersInRangeAreAPlace)
{
    EXPECT_EQ(WeatherEngine::placeIn(QStringLiteral(" 48.8566, 2.3522 ")), std::pair(48.8566, 2.3522));
    EXPECT_EQ(WeatherEngine::placeIn(QStringLiteral("-90,180")), std::pair(-90.0, 180.0));
    for (const QString& text :
         {QString(), QStringLiteral("Paris"), QStringLiteral("91,0"), QStringLiteral("0,-181"),
          QStringLiteral("1,2,3"), QStringLiteral("nan,0"), QStringLiteral("1e9,1")})
        EXPECT_FALSE(WeatherEngine::placeIn(text)) << text.toStdString();
}

class ScriptedLocation final : public Location {
public:
    void locate(std::function<void(Answer)> answer) override
    {
        ++asked;
        answer(next);
    }
    [[nodiscard]] bool canOpenSettings() const override { return true; }
    void openSettings() override { ++opened; }

    Answer next{Status::located, 52.52, 13.41};
    int asked = 0;
    int opened = 0;
};

class WeatherEngineTest : public TempHome {
protected:
    void SetUp() override
    {
        m_settings.setWeatherURL(m_server.url(QStringLiteral("/v1/forecast")).toString());
        m_server.answer(QStringLiteral("/v1/forecast"), kPartlyCloudy);
    }

    void refreshAndSettle(WeatherEngine& engine)
    {
        engine.refresh();
        ASSERT_TRUE(QTest::qWaitFor([&engine] { return !engine.isFetching(); }, 5000));
    }

    static constexpr const char* kPartlyCloudy =
        R"({"current":{"temperature_2m":21.5,"weather_code":2,"is_day":1}})";

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    LocalHttpServer m_server;
    ScriptedLocation m_location;
    LogCapture m_log;
    WeatherEngine m_engine{m_settings, m_location, QLocale(QLocale::French, QLocale::France), 8s};
};

TEST_F(WeatherEngineTest, AsksTheServiceForTheDesktopsPlaceAndShowsItsConditions)
{
    EXPECT_EQ(m_engine.text(), QStringLiteral("…"));
    refreshAndSettle(m_engine);
    EXPECT_EQ(m_engine.text(), QStringLiteral("22°"));
    EXPECT_EQ(m_engine.symbolName(), QStringLiteral("cloud.sun"));
    ASSERT_EQ(m_server.targets().size(), 1);
    const QUrlQuery query(QUrl(m_server.targets().first()));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("latitude")), QStringLiteral("52.5200"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("longitude")), QStringLiteral("13.4100"));
}

TEST_F(WeatherEngineTest, APlaceInThePreferencesWinsAndAUSLocaleReadsFahrenheit)
{
    WeatherEngine us{m_settings, m_location, QLocale(QLocale::English, QLocale::UnitedStates), 8s};
    m_settings.setWeatherLocation(QStringLiteral("40.7128,-74.006"));
    refreshAndSettle(us);
    EXPECT_EQ(us.text(), QStringLiteral("71°"));
    EXPECT_EQ(m_location.asked, 0);
    EXPECT_EQ(QUrlQuery(QUrl(m_server.targets().first())).queryItemValue(QStringLiteral("latitude")),
              QStringLiteral("40.7128"));

    m_settings.setWeatherLocation(QStringLiteral("north of here"));
    refreshAndSettle(us);
    EXPECT_EQ(m_location.asked, 1);
}

TEST_F(WeatherEngineTest, WithoutLocationAccessTheModuleSaysSoUntilAPlaceArrives)
{
    for (const auto status : {Location::Status::denied, Location::Status::unavailable}) {
        WeatherEngine engine{m_settings, m_location, QLocale::c(), 8s};
        m_location.next = {status};
        refreshAndSettle(engine);
        EXPECT_TRUE(engine.needsLocation());
        EXPECT_EQ(engine.text(), QStringLiteral("—"));
        engine.openLocationSettings();
    }
    EXPECT_EQ(m_location.opened, 2);
    EXPECT_TRUE(m_server.targets().isEmpty());
}

TEST_F(WeatherEngineTest, AServiceThatCannotLocateAsksForAPlaceInsteadOfWaitingForever)
{
    m_location.next = {Location::Status::failed};
    refreshAndSettle(m_engine);
    EXPECT_FALSE(m_engine.needsLocation());
    EXPECT_TRUE(m_engine.needsPlace());
    EXPECT_EQ(m_engine.text(), QStringLiteral("Set Location…"));

    m_settings.setWeatherLocation(QStringLiteral("48.85,2.35"));
    refreshAndSettle(m_engine);
    EXPECT_FALSE(m_engine.needsPlace());
    EXPECT_EQ(m_engine.text(), QStringLiteral("22°"));
}

TEST_F(WeatherEngineTest, BrokenSlowOrRefusedServicesKeepTheLastReading)
{
    const QString forecast = m_settings.weatherURL();
    m_settings.setWeatherURL(QStringLiteral("http://192.0.2.1/v1/forecast"));
    refreshAndSettle(m_engine);
    EXPECT_EQ(m_engine.text(), QStringLiteral("—")) << "a refused address fails before any reading";
    EXPECT_TRUE(m_server.targets().isEmpty());

    m_settings.setWeatherURL(forecast);
    refreshAndSettle(m_engine);
    for (const auto& [body, status] :
         {std::pair<QByteArray, int>{"{}", 500},
          {R"({"current":{"temperature_2m":1e9,"weather_code":2}})", 200},
          {QByteArray(WeatherEngine::maxAnswerBytes + 1, ' ') + kPartlyCloudy, 200}}) {
        m_server.answer(QStringLiteral("/v1/forecast"), body, status);
        refreshAndSettle(m_engine);
        EXPECT_EQ(m_engine.text(), QStringLiteral("22°"));
    }

    m_server.stall(QStringLiteral("/v1/forecast"));
    const qsizetype asked = m_server.targets().size();
    m_engine.refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.targets().size() > asked; }, 5000));
    m_engine.refresh();
    EXPECT_TRUE(m_engine.isFetching());
    m_engine.abandonRequest();
    EXPECT_EQ(m_server.targets().size(), asked + 1);
    EXPECT_EQ(m_engine.text(), QStringLiteral("22°"));

    m_settings.setWeatherURL(QStringLiteral("http://api.open-meteo.com/v1/forecast"));
    refreshAndSettle(m_engine);
    EXPECT_TRUE(m_engine.failed());
    EXPECT_EQ(m_engine.text(), QStringLiteral("22°")) << "a refused address keeps the reading too";
}

} // namespace
