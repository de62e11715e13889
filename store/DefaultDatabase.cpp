#include "DefaultDatabase.h"

#include "Markup.h"

namespace bp {

namespace {

struct SampleNote {
    std::string_view xPos, yPos, title, titleBackColor, bodyBackColor, priority;
};

constexpr SampleNote kSamples[3] = {
    {"451", "24", "Low Priority Note", "6029311", "6750207", "0"},
    {"616", "111", "Regular Priority Note", "65280", "5177166", "1"},
    {"764", "189", "High Priority Note", "7171583", "7895295", "2"},
};

std::string sampleNoteAttributes(int nid, const SampleNote& n) {
    const std::string id = std::to_string(nid);
    // What sets the samples apart; the rest comes from the table.
    const NamedValue own[] = {
        {note::nid.name, id},
        {note::xPos.name, n.xPos},
        {note::yPos.name, n.yPos},
        {note::title.name, n.title},
        {note::titleBackColor.name, n.titleBackColor},
        {note::bodyBackColor.name, n.bodyBackColor},
        {note::priority.name, n.priority},
    };
    std::string text;
    for (const NoteAttribute& attribute : kNoteAttributes) {
        std::string_view value = attribute.sampleValue;
        for (const NamedValue& v : own) {
            if (v.name == attribute.name) {
                value = v.value;
            }
        }
        text += markup::AttributeText(attribute.name, value);
    }
    return text;
}

}  // namespace

const std::array<NamedValue, 51> kDefaultSettings = {{
    {"autorun", "1"},
    {"openManager", "1"},
    {"ShowMessage", "1"},
    {"Width", "230"},
    {"Height", "175"},
    {"TitleDefaults", "0"},
    {"TitleText", ""},
    {"TitleOrder", "0"},
    {"minWidth", "150"},
    {"minHeight", "72"},
    {"bodyFontColor", "0"},
    {"bodyBackColor", "9043967"},
    {"titleFontColor", "0"},
    {"titleBackColor", "8323071"},
    {"titleFontType", kDefaultTitleFont},
    {"bodyFontType", kDefaultBodyFont},
    {"titleHeight", "16"},
    {"TransLevel", "150"},
    {"Transparency", "0"},
    {"RandomColors", "1"},
    {"links", "0"},
    {"AutoLock", "0"},
    {"autoLockTime", "0"},
    {"priority", "2"},
    {"hkNewNote", "5111814"},
    {"hkShowAll", "5439494"},
    {"hkHideAll", "4718598"},
    {"hkShowAttach", "4259846"},
    {"hkShowManager", "5046278"},
    {"defaultImagePath", ""},
    {"deleteMode", "1"},
    {"deleteMax", "25"},
    {"backupMode", "1"},
    {"backupMax", "25"},
    {"autoSave", "15"},
    {"showNotesMode", "0"},
    {"Port", "399"},
    {"TCPIP", "23"},
    {"lastIPorPC", "0"},
    {"lastIP", "0"},
    {"lastPC", ""},
    {"lastPort", "399"},
    {"lastEmail", ""},
    {"lastVia", "1"},
    {"receiveNotesMode", "2"},
    {"beepWhen", "1"},
    {"readWhen", "0"},
    {"border", "1"},
    {"move", "0"},
    {"hideAttach", "1"},
    {"independentDatabases", "0"},
}};

std::string BuildDefaultDatabaseText() {
    std::string text = "<Brightpost>\r\n";
    text += "<settings";
    for (const NamedValue& setting : kDefaultSettings) {
        text += markup::AttributeText(setting.name, setting.value);
    }
    text += ">\r\n";
    text += "[]]]]]>>>>>\r\n</settings>\r\n";
    text += "<notes>\r\n";
    for (int i = 0; i < 3; ++i) {
        text += "\r\n<note";
        text += sampleNoteAttributes(i + 1, kSamples[i]);
        text += ">\r\n";
        text += "<![CDATABEGIN[\r\n";
        text += "]CDATAEND]!>\r\n";
        text += "[]]]]]>>>>>\r\n</note>\r\n";
    }
    text += "[]]]]]>>>>>\r\n</notes>\r\n";
    text += "[]]]]]>>>>>\r\n</Brightpost>";
    return text;
}

}  // namespace bp
