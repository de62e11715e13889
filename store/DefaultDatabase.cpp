#include "DefaultDatabase.h"

#include "Markup.h"

namespace bp {

namespace {

constexpr std::string_view kDefaultTitleFont =
    "8====yaaaaaaaaaaaaaaaEaAaaB=aaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3";
constexpr std::string_view kDefaultBodyFont =
    "8====yaaaaaaaaaaaaaaaEaAaaaaaaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3";

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
    const NamedValue values[45] = {
        {"nid", id},
        {"xPos", n.xPos},
        {"yPos", n.yPos},
        {"Width", "250"},
        {"Height", "175"},
        {"border", "1"},
        {"TransLevel", "150"},
        {"title", n.title},
        {"titleFontType", kDefaultTitleFont},
        {"titleFontColor", "4194368"},
        {"titleBackColor", n.titleBackColor},
        {"bodyFontType", kDefaultBodyFont},
        {"bodyFontColor", "0"},
        {"bodyBackColor", n.bodyBackColor},
        {"priority", n.priority},
        {"isTitle", "1"},
        {"isBody", "1"},
        {"isEdit", "1"},
        {"Transparency", "0"},
        {"time", "1511606046"},
        {"isReminder", "0"},
        {"remindTime", "1511808780"},
        {"remindTime1", "0"},
        {"remindTime2", "0"},
        {"remindRepeat", "0"},
        {"remindSnoozeTime", "0"},
        {"remindRepeatTimes", "0"},
        {"remindRepeatInterval", "0"},
        {"remindRepeatInterval2", "0"},
        {"remindAction", "3"},
        {"remindFlashTimes", "100"},
        {"remindFlashInterval", "600"},
        {"remindWav", ""},
        {"remindUrl", ""},
        {"remindExe", ""},
        {"attachedFiles", ""},
        {"imagePath", ""},
        {"imagePos", "0"},
        {"isDeleted", "0"},
        {"links", "0"},
        {"expireTime", "0"},
        {"deleteTime", "0"},
        {"isClosed", "0"},
        {"schedule", ";!;!;!"},
        {"repeatEach", "0"},
    };
    std::string text;
    for (const NamedValue& v : values) {
        text += markup::AttributeText(v.name, v.value);
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

const std::array<std::string_view, 45> kNoteAttributeNames = {
    "nid",
    "xPos",
    "yPos",
    "Width",
    "Height",
    "border",
    "TransLevel",
    "title",
    "titleFontType",
    "titleFontColor",
    "titleBackColor",
    "bodyFontType",
    "bodyFontColor",
    "bodyBackColor",
    "priority",
    "isTitle",
    "isBody",
    "isEdit",
    "Transparency",
    "time",
    "isReminder",
    "remindTime",
    "remindTime1",
    "remindTime2",
    "remindRepeat",
    "remindSnoozeTime",
    "remindRepeatTimes",
    "remindRepeatInterval",
    "remindRepeatInterval2",
    "remindAction",
    "remindFlashTimes",
    "remindFlashInterval",
    "remindWav",
    "remindUrl",
    "remindExe",
    "attachedFiles",
    "imagePath",
    "imagePos",
    "isDeleted",
    "links",
    "expireTime",
    "deleteTime",
    "isClosed",
    "schedule",
    "repeatEach",
};

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
