// The program's font configuration against the one fontconfig builds on its own: every face
// the system lists, the layouts' families, the generic names and a few scripts must resolve
// to the same file, rendered the same way.

#include "platform/gui/fontconfiguration.h"
#include "platform/gui/fontconfiguration_p.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <memory>

namespace {

using TConfig = std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)>;

// What a match decides for the pixels: the face, and how it is rasterized.
QByteArray Resolve(FcConfig *config, const QByteArray &request) {
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(request.constData()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return "(none)";
    FcChar8 *text =
        FcPatternFormat(match, reinterpret_cast<const FcChar8 *>(
                                   "%{file}#%{index} antialias=%{antialias} hinting=%{hinting} "
                                   "hintstyle=%{hintstyle} autohint=%{autohint} rgba=%{rgba} "
                                   "lcdfilter=%{lcdfilter} embeddedbitmap=%{embeddedbitmap} "
                                   "embolden=%{embolden} matrix=%{matrix}"));
    QByteArray resolved(reinterpret_cast<const char *>(text));
    FcStrFree(text);
    FcPatternDestroy(match);
    return resolved;
}

// Every family and style the system lists, as fc-list does, written as requests.
QList<QByteArray> ListedFaces(FcConfig *config) {
    FcPattern *all = FcPatternCreate();
    FcObjectSet *fields = FcObjectSetBuild(FC_FAMILY, FC_STYLE, nullptr);
    FcFontSet *faces = FcFontList(config, all, fields);
    QList<QByteArray> requests;
    for (int i = 0; faces && i < faces->nfont; ++i) {
        FcChar8 *family = nullptr, *style = nullptr;
        FcPattern *request = FcPatternCreate();
        for (int n = 0; FcPatternGetString(faces->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
             ++n)
            FcPatternAddString(request, FC_FAMILY, family);
        if (FcPatternGetString(faces->fonts[i], FC_STYLE, 0, &style) == FcResultMatch)
            FcPatternAddString(request, FC_STYLE, style);
        FcChar8 *name = FcNameUnparse(request);
        requests << QByteArray(reinterpret_cast<const char *>(name));
        FcStrFree(name);
        FcPatternDestroy(request);
    }
    if (faces) FcFontSetDestroy(faces);
    FcObjectSetDestroy(fields);
    FcPatternDestroy(all);
    return requests;
}

// Sets an environment variable for the test's lifetime.
class TEnvironment {
public:
    TEnvironment(const char *name, const QByteArray &value)
        : FName(name), FOld(qgetenv(name)), FWasSet(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value);
    }
    ~TEnvironment() {
        if (FWasSet)
            qputenv(FName, FOld);
        else
            qunsetenv(FName);
    }

private:
    const char *FName;
    QByteArray FOld;
    bool FWasSet;
};

} // namespace

TEST(FontConfiguration, EveryListedFaceResolvesAsWithFontconfigsOwnStart) {
    const TConfig system(FcInitLoadConfigAndFonts(), FcConfigDestroy);
    const TConfig program(LoadFontConfiguration(), FcConfigDestroy);
    ASSERT_TRUE(system && program);
    QList<QByteArray> requests = ListedFaces(system.get());
    ASSERT_FALSE(requests.isEmpty());
    EXPECT_EQ(ListedFaces(program.get()), requests) << "the same faces, in the same order";
    requests << "MS Sans Serif"
             << "Small Fonts"
             << "Arial"
             << "Arial:bold"
             << "Helvetica"
             << "Liberation Sans:pixelsize=9:bold"
             << "DejaVu Sans:pixelsize=9:bold"
             << "sans-serif"
             << "serif"
             << "monospace"
             << "system-ui"
             << ":lang=de"
             << ":lang=el"
             << ":lang=ru"
             << ":lang=ar"
             << ":lang=he"
             << ":lang=ja"
             << ":lang=zh-cn"
             << ":lang=hi"
             << "NoSuchFamily";
    for (const QByteArray &request : requests)
        EXPECT_EQ(Resolve(program.get(), request), Resolve(system.get(), request))
            << request.data();
}

TEST(FontConfiguration, TheConfigurationReadOnAThreadBecomesFontconfigsOwn) {
    const TConfig system(FcInitLoadConfigAndFonts(), FcConfigDestroy);
    TFontConfigurationLoad load;
    ASSERT_TRUE(load.Use());
    for (const QByteArray request : {"sans-serif", "Small Fonts:bold", ":lang=ja"})
        EXPECT_EQ(Resolve(FcConfigGetCurrent(), request), Resolve(system.get(), request))
            << request.data();
    EXPECT_FALSE(load.Use()) << "handed over once";
}

TEST(FontConfiguration, AConfigurationThatCannotBeReadIsLeftToFontconfig) {
    const QTemporaryDir folder;
    const QByteArray notXml = QFile::encodeName(folder.filePath(QStringLiteral("fonts.conf")));
    QFile file(folder.filePath(QStringLiteral("fonts.conf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<fontconfig><dir>unclosed");
    file.close();
    for (const QByteArray &name : {QByteArray("/nonexistent/fonts.conf"), notXml}) {
        const TEnvironment named("FONTCONFIG_FILE", name);
        const TConfig program(LoadFontConfiguration(), FcConfigDestroy);
        EXPECT_FALSE(program) << name.data();
    }
}
