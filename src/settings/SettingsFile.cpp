#include "settings/SettingsFile.h"

#include <algorithm>
#include <cmath>

#include "core/ValueRules.h"
#include "settings/PasswordScrambling.h"
#include "settings/PrivateProfile.h"

namespace korvex {

namespace {

const QString kSection = QStringLiteral("SCHOOL");
const QString kDefaultAdminPassword = QStringLiteral("5820");
// The buffer the old program read every value into.
constexpr int kValueBuffer = 255;

QString ltrimBlanks(const QString& text) {
    qsizetype begin = 0;
    while (begin < text.size() && text[begin] == u' ') ++begin;
    return text.mid(begin);
}

double clampedWhole(const QString& text, double low, double high) {
    const double value = roundHalfEven(leadingNumber(text));
    if (std::isnan(value)) return 0;
    return std::clamp(value, low, high);
}

// The keys with the text each holds in memory, in the order the settings
// dialog writes them; the passwords in plain text.
struct KeyValue {
    QString key;
    QString value;
};
std::vector<KeyValue> heldForm(const Settings& settings) {
    return {
        {QStringLiteral("SERVER"), settings.server},
        {QStringLiteral("DATABASENAME"), settings.databaseName},
        {QStringLiteral("USER"), settings.user},
        {QStringLiteral("PASSWD"), settings.password},
        {QStringLiteral("SYEAR"), settings.year},
        {QStringLiteral("SSEMESTER"), settings.semester},
        {QStringLiteral("SEXAMNO"), settings.examNo},
        {QStringLiteral("SEXAMNAME"), settings.examName},
        {QStringLiteral("SINGLE"), QString::number(settings.dedicatedOperator)},
        {QStringLiteral("SVOCATION"), QString::number(settings.vocational)},
        {QStringLiteral("ADMPASSWD"), settings.adminPassword},
        {QStringLiteral("ADMSYSTYPE"), QStringLiteral("1")},
    };
}

bool isPasswordKey(const QString& key) {
    return key == QLatin1String("PASSWD") || key == QLatin1String("ADMPASSWD");
}

// The keys with the text each is stored as: the passwords scrambled, every
// other value as the ANSI profile call stores it. Nothing when a password has
// no scrambled form.
std::optional<std::vector<KeyValue>> storedForm(const Settings& settings) {
    std::vector<KeyValue> keys = heldForm(settings);
    for (auto& [key, value] : keys) {
        if (isPasswordKey(key)) {
            const auto scrambled = EncodePassword(value);
            if (!scrambled) return std::nullopt;
            value = *scrambled;
        } else {
            value = ansiProfileText(value);
        }
    }
    return keys;
}

}  // namespace

std::uint8_t settingsByte(const QString& text) {
    return static_cast<std::uint8_t>(clampedWhole(text, 0, 255));
}

std::int16_t settingsShort(const QString& text) {
    return static_cast<std::int16_t>(clampedWhole(text, -32768, 32767));
}

QString StringFormINI(const PrivateProfile& profile, const QString& sectionName,
                      const QString& keyName, const QString& defaultValue) {
    // The platform fills a buffer of blanks with the value and a terminating
    // zero; trimming that buffer on both sides strips only the value's
    // leading blanks, since its trailing ones sit before the zero.
    return ltrimBlanks(
        getPrivateProfileString(profile, sectionName, keyName, defaultValue, kValueBuffer));
}

QString StringFormINI(const QString& sectionName, const QString& keyName,
                      const QString& defaultValue, const QString& fileName) {
    PrivateProfile profile;
    profile.load(fileName);
    return StringFormINI(profile, sectionName, keyName, defaultValue);
}

void createSettingsFile(const QString& path, Settings& settings) {
    settings = Settings();
    settings.user = QStringLiteral("student");
    settings.password.clear();
    settings.adminPassword = kDefaultAdminPassword;
    settings.admSysType = 1;

    PrivateProfile profile;
    profile.load(path);
    const QList<KeyValue> keys = {
        {QStringLiteral("SERVER"), settings.server},
        {QStringLiteral("DATABASENAME"), settings.databaseName},
        {QStringLiteral("USER"), settings.user},
        {QStringLiteral("PASSWD"), QString()},
        {QStringLiteral("SYEAR"), settings.year},
        {QStringLiteral("SSEMESTER"), settings.semester},
        {QStringLiteral("SEXAMNO"), settings.examNo},
        {QStringLiteral("SEXAMNAME"), settings.examName},
        {QStringLiteral("SVOCATION"), QStringLiteral("0")},
        {QStringLiteral("SINGLE"), QStringLiteral("0")},
        {QStringLiteral("ADMSYSTYPE"), QStringLiteral("1")},
        {QStringLiteral("ADMPASSWD"), EncodePassword(kDefaultAdminPassword).value()},
    };
    for (const auto& [key, value] : keys) profile.setValue(kSection, key, value);
    // A file that cannot be created leaves start-up with the defaults in memory.
    profile.save(path);
}

Settings readSettingsFile(const QString& path) {
    PrivateProfile profile;
    profile.load(path);
    const auto read = [&](const char* key, const QString& defaultValue) {
        return StringFormINI(profile, kSection, QString::fromLatin1(key), defaultValue);
    };
    Settings settings;
    settings.server = read("SERVER", QStringLiteral("localhost"));
    settings.databaseName = read("DATABASENAME", QStringLiteral("school"));
    settings.user = read("USER", QStringLiteral("sa"));
    // A stored password that is no scrambled form of any password (a damaged
    // file) counts as missing.
    settings.password = DecodePassword(read("PASSWD", QString())).value_or(QString());
    settings.year = read("SYEAR", QStringLiteral("94"));
    settings.semester = read("SSEMESTER", QStringLiteral("1"));
    settings.examNo = read("SEXAMNO", QStringLiteral("0"));
    settings.examName = read("SEXAMNAME", QString());
    settings.dedicatedOperator = settingsShort(read("SINGLE", QStringLiteral("0")));
    settings.vocational = settingsByte(read("SVOCATION", QStringLiteral("0")));
    settings.adminPassword =
        DecodePassword(read("ADMPASSWD", EncodePassword(kDefaultAdminPassword).value()))
            .value_or(kDefaultAdminPassword);
    return settings;
}

QStringList settingsValueProblems(const Settings& settings) {
    QStringList problems;
    for (const auto& [key, value] : heldForm(settings)) {
        const bool storable = isPasswordKey(key) ? EncodePassword(value).has_value()
                                                 : ansiProfileText(value) == value;
        if (!storable) problems << key;
    }
    return problems;
}

bool saveSettingsFile(const QString& path, Settings& settings) {
    settings.admSysType = 1;
    const auto keys = storedForm(settings);
    if (!keys) return false;
    PrivateProfile profile;
    // A file that exists but cannot be read is not overwritten: its other
    // lines would be lost.
    if (!profile.load(path)) return false;
    // Every value is checked before the first is set, so that a refused value
    // leaves the whole file as it was.
    for (const auto& [key, value] : *keys) {
        if (!profile.canStore(value)) return false;
    }
    for (const auto& [key, value] : *keys) {
        if (!profile.setValue(kSection, key, value)) return false;
    }
    return profile.save(path);
}

}  // namespace korvex
