#include "files/ini_file.h"

#include "core/rt_string.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/file_paths.h"
#include "files/files_state.h"
#include "files/line_file.h"
#include "platform/files.h"
#include "runtime/error_log.h"

IniData& IniRuntimeData() {
    return Files().ini;
}

void IniLoad(IniData& data, const std::string& path) {
    data = IniData{};
    data.fileName = FilePathAbsolute(path);
    std::string resolved;
    if (path.empty() || !MediaResolve(path, resolved)) return;
    std::string text;
    if (!platform::FileReadWhole(resolved, text, kTextFileMax)) return;
    data.sections = IniParse(text);
}

void IniWriteBack(IniData& data) {
    if (!data.changed || data.fileName.empty()) return;
    // A failed write leaves the old file whole; the log says so.
    if (!platform::FileWriteWhole(data.fileName, IniSerialize(data)))
        ErrorLogAppend("Write back failed: " + data.fileName);
    data.changed = false;
}

void TextFilesWriteBack() {
    IniWriteBack(Files().ini);
    LineFileWriteBack();
}

void IniOpen(const RtString& path) {
    IniWriteBack(Files().ini);
    IniLoad(Files().ini, path.Str());
}

RtString IniGet(const RtString& section, const RtString& key) {
    const std::string* v = IniFind(Files().ini, section.View(), key.View());
    return RtString(std::string_view(v ? *v : std::string(kIniNoData)));
}

void IniPut(const RtString& section, const RtString& key, const RtString& value) {
    IniPutValue(Files().ini, section.View(), key.View(), value.View());
}
