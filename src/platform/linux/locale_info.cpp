// The user's locale from the process environment (LC_ALL, LC_*, LANG),
// read through a locale object of its own so the process-wide locale, and
// with it every number formatted elsewhere, stays "C".

#include "platform/locale_info.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

#include "platform/linux/locale_names.h"

namespace kestrum {
namespace {

// The environment's locale for the categories in `mask`, or (locale_t)0
// when it is not installed.
class CategoryLocale {
public:
    explicit CategoryLocale(int mask) : locale_(newlocale(mask, "", static_cast<locale_t>(0))) {}
    ~CategoryLocale() {
        if (locale_ != static_cast<locale_t>(0)) freelocale(locale_);
    }
    CategoryLocale(const CategoryLocale&) = delete;
    CategoryLocale& operator=(const CategoryLocale&) = delete;

    bool Valid() const { return locale_ != static_cast<locale_t>(0); }
    std::string_view Item(nl_item item) const {
        const char* value = nl_langinfo_l(item, locale_);
        return value != nullptr ? std::string_view(value) : std::string_view();
    }

private:
    locale_t locale_;
};

}  // namespace

LocaleInfo QueryUserLocale() {
    LocaleInfo info;
    // The language is taken from the name alone, so a German user gets
    // German texts even when the locale's data is not installed.
    info.LanguageId = LanguageIdFromLocaleName(
        MessagesLocaleName(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));

    const CategoryLocale numeric(LC_NUMERIC_MASK);
    if (numeric.Valid()) {
        info.DecimalSeparator = SeparatorByte(numeric.Item(RADIXCHAR), '.');
        if (info.DecimalSeparator == '\0') info.DecimalSeparator = '.';
        info.ThousandSeparator = SeparatorByte(numeric.Item(THOUSEP), ',');
    } else {
        info.ThousandSeparator = '\0';  // as the C locale
    }

    const CategoryLocale time(LC_TIME_MASK);
    if (time.Valid())
        info.LongTimeFormat = TimePictureFromStrftime(time.Item(T_FMT), time.Item(T_FMT_AMPM));

    const CategoryLocale measurement(LC_MEASUREMENT_MASK);
    if (measurement.Valid()) {
        // 1 metric, 2 US customary
        const std::string_view system = measurement.Item(_NL_MEASUREMENT_MEASUREMENT);
        info.Metric = system.empty() || system[0] != 2;
    }
    return info;
}

}  // namespace kestrum
