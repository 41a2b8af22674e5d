#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "band/OpenMeteo.h"
#include "band/WeatherText.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// The forecast service's answer, read and drawn as the weather module does in both measurement systems.
// Conditions taken from it hold a temperature some place on Earth could have and a WMO code.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<OpenMeteo::Conditions> conditions = OpenMeteo::parse(fuzzBytes(data, size));
    if (!conditions)
        return 0;
    if (!std::isfinite(conditions->celsius) || conditions->celsius < -100 || conditions->celsius > 70 ||
        conditions->wmoCode < 0 || conditions->wmoCode > 100) {
        std::fprintf(stderr, "conditions of %g °C, code %d taken\n", conditions->celsius,
                     conditions->wmoCode);
        std::abort();
    }
    static_cast<void>(WeatherText::symbolName(conditions->wmoCode, conditions->isDay));
    static_cast<void>(WeatherText::temperature(conditions->celsius, QLocale::MetricSystem));
    static_cast<void>(WeatherText::temperature(conditions->celsius, QLocale::ImperialUSSystem));
    return 0;
}
