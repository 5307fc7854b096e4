#include "LookUpAids.h"

#include "ini/IniValues.h"
#include "ini/modIni.h"

namespace tavelin {
namespace {

const QString kSection = QStringLiteral("LookUp");

// A switch is off only when its value says "False", in any case.
bool readSwitch(const char* key, const QString& iniFile) {
    const QString value = GetINIValue(kSection, QString::fromLatin1(key), iniFile);
    return value.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0;
}

void writeSwitch(const char* key, bool on, const QString& iniFile) {
    SetINIValue(kSection, QString::fromLatin1(key), iniBoolText(on), iniFile);
}

} // namespace

LookUpAids readLookUpAids(const QString& iniFile) {
    LookUpAids aids;
    aids.yoIsYe = readSwitch("YoIsYe", iniFile);
    aids.latinTypesArmenian = readSwitch("LatinTypesArmenian", iniFile);
    aids.nearWords = readSwitch("NearWords", iniFile);
    aids.selectionLookUp = readSwitch("SelectionLookUp", iniFile);
    const QString key = GetINIValue(kSection, QStringLiteral("SelectionKey"), iniFile);
    if (!key.isEmpty()) {
        aids.selectionKey = key;
    }
    return aids;
}

void writeLookUpAids(const LookUpAids& aids, const QString& iniFile) {
    writeSwitch("YoIsYe", aids.yoIsYe, iniFile);
    writeSwitch("LatinTypesArmenian", aids.latinTypesArmenian, iniFile);
    writeSwitch("NearWords", aids.nearWords, iniFile);
    writeSwitch("SelectionLookUp", aids.selectionLookUp, iniFile);
    SetINIValue(kSection, QStringLiteral("SelectionKey"), aids.selectionKey, iniFile);
}

} // namespace tavelin
