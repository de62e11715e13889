#pragma once

// The one list of a note's attributes: their names as the file spells them, how their text is
// read, what a new database and a new note hold, and what a copy carries over. Everything that
// walks a note's attributes reads this table, so an attribute is added in one place.

#include <array>
#include <cstddef>
#include <string_view>

namespace bp {

// How an attribute's text is read and written. Int and UInt are both written as a signed
// 32-bit number; they differ in how a stored value is read back.
enum class AttrType { Int, UInt, Text, Font };

// Where a new note's value comes from.
enum class NewFrom {
    Value,     // newValue as it stands
    Setting,   // the setting named newValue
    Computed,  // worked out by the store: the next id, a position on the screen
};

// What a duplicate or an import carries over from the note it copies.
enum class CopyRule {
    Own,     // the copy keeps what NewNote gave it
    Same,    // copied as it is
    Fitted,  // a duplicate copies it as it is; an import fits it to this desktop
};

struct NoteAttribute {
    std::string_view name;
    AttrType type;
    // The sample notes of a new database, where they all agree; they give their own id,
    // position, title, colours and priority.
    std::string_view sampleValue;
    NewFrom newFrom;
    std::string_view newValue;
    CopyRule copy;
};

inline constexpr std::string_view kDefaultTitleFont =
    "8====yaaaaaaaaaaaaaaaEaAaaB=aaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3";
inline constexpr std::string_view kDefaultBodyFont =
    "8====yaaaaaaaaaaaaaaaEaAaaaaaaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3";

namespace attr_table {
using enum AttrType;
constexpr NewFrom kValue = NewFrom::Value;
constexpr NewFrom kSetting = NewFrom::Setting;
constexpr NewFrom kComputed = NewFrom::Computed;
constexpr CopyRule kOwn = CopyRule::Own;
constexpr CopyRule kSame = CopyRule::Same;
constexpr CopyRule kFitted = CopyRule::Fitted;
}  // namespace attr_table

// Every attribute of a note element, in the order it is written.
inline constexpr std::array<NoteAttribute, 45> kNoteAttributes = [] {
    using namespace attr_table;
    return std::array<NoteAttribute, 45>{{
        // name, type, sample value, new note from, new note value, copy
        {"nid", Int, "", kComputed, "", kOwn},
        {"xPos", Int, "", kComputed, "", kFitted},
        {"yPos", Int, "", kComputed, "", kFitted},
        {"Width", Int, "250", kSetting, "Width", kFitted},
        {"Height", Int, "175", kSetting, "Height", kFitted},
        {"border", Int, "1", kSetting, "border", kFitted},
        {"TransLevel", Int, "150", kSetting, "TransLevel", kSame},
        {"title", Text, "", kValue, "", kSame},
        {"titleFontType", Font, kDefaultTitleFont, kSetting, "titleFontType", kSame},
        {"titleFontColor", UInt, "4194368", kSetting, "titleFontColor", kSame},
        {"titleBackColor", UInt, "", kSetting, "titleBackColor", kSame},
        {"bodyFontType", Font, kDefaultBodyFont, kSetting, "bodyFontType", kSame},
        {"bodyFontColor", UInt, "0", kSetting, "bodyFontColor", kSame},
        {"bodyBackColor", UInt, "", kSetting, "bodyBackColor", kSame},
        {"priority", Int, "", kSetting, "priority", kSame},
        {"isTitle", Int, "1", kValue, "1", kOwn},
        {"isBody", Int, "1", kValue, "1", kSame},
        {"isEdit", Int, "1", kValue, "1", kSame},
        {"Transparency", Int, "0", kSetting, "Transparency", kSame},
        {"time", UInt, "1511606046", kValue, "0", kSame},
        {"isReminder", Int, "0", kValue, "0", kSame},
        {"remindTime", UInt, "1511808780", kValue, "0", kSame},
        {"remindTime1", UInt, "0", kValue, "0", kSame},
        {"remindTime2", UInt, "0", kValue, "0", kSame},
        {"remindRepeat", Int, "0", kValue, "0", kSame},
        {"remindSnoozeTime", Int, "0", kValue, "0", kSame},
        {"remindRepeatTimes", Int, "0", kValue, "0", kSame},
        {"remindRepeatInterval", Int, "0", kValue, "0", kSame},
        {"remindRepeatInterval2", Int, "0", kValue, "0", kSame},
        {"remindAction", Int, "3", kValue, "0", kSame},
        {"remindFlashTimes", Int, "100", kValue, "100", kSame},
        {"remindFlashInterval", Int, "600", kValue, "600", kSame},
        {"remindWav", Text, "", kValue, "", kSame},
        {"remindUrl", Text, "", kValue, "", kSame},
        {"remindExe", Text, "", kValue, "", kSame},
        // The attachment records are copied one by one.
        {"attachedFiles", Text, "", kValue, "", kOwn},
        {"imagePath", Text, "", kSetting, "defaultImagePath", kSame},
        {"imagePos", Int, "0", kValue, "0", kSame},
        {"isDeleted", Int, "0", kValue, "0", kOwn},
        {"links", Int, "0", kSetting, "links", kSame},
        {"expireTime", UInt, "0", kValue, "0", kSame},
        {"deleteTime", UInt, "0", kValue, "0", kOwn},
        {"isClosed", Int, "0", kValue, "0", kOwn},
        {"schedule", Text, ";!;!;!", kValue, "", kSame},
        {"repeatEach", Int, "0", kValue, "0", kSame},
    }};
}();

// The names alone, in the same order.
inline constexpr std::array<std::string_view, 45> kNoteAttributeNames = [] {
    std::array<std::string_view, 45> names{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = kNoteAttributes[i].name;
    }
    return names;
}();

// The place of an attribute in the table, or the table's size when it has none.
constexpr std::size_t NoteAttributeIndex(std::string_view name) {
    for (std::size_t i = 0; i < kNoteAttributes.size(); ++i) {
        if (kNoteAttributes[i].name == name) {
            return i;
        }
    }
    return kNoteAttributes.size();
}

// A note attribute named at compile time: a name missing from the table, or a key of the
// wrong type for it, does not compile. The store's typed accessors take these, so the key
// chooses the reader and writer.
template <AttrType T>
struct NoteKey {
    explicit consteval NoteKey(std::string_view attribute) : name(attribute) {
        const std::size_t at = NoteAttributeIndex(attribute);
        if (at == kNoteAttributes.size()) {
            throw "not a note attribute";
        }
        if (kNoteAttributes[at].type != T) {
            throw "the attribute has another type";
        }
    }
    std::string_view name;
};

using IntKey = NoteKey<AttrType::Int>;
using UIntKey = NoteKey<AttrType::UInt>;
using TextKey = NoteKey<AttrType::Text>;
using FontKey = NoteKey<AttrType::Font>;

namespace note {
inline constexpr IntKey nid{"nid"};
inline constexpr IntKey xPos{"xPos"};
inline constexpr IntKey yPos{"yPos"};
inline constexpr IntKey Width{"Width"};
inline constexpr IntKey Height{"Height"};
inline constexpr IntKey border{"border"};
inline constexpr IntKey TransLevel{"TransLevel"};
inline constexpr TextKey title{"title"};
inline constexpr FontKey titleFontType{"titleFontType"};
inline constexpr UIntKey titleFontColor{"titleFontColor"};
inline constexpr UIntKey titleBackColor{"titleBackColor"};
inline constexpr FontKey bodyFontType{"bodyFontType"};
inline constexpr UIntKey bodyFontColor{"bodyFontColor"};
inline constexpr UIntKey bodyBackColor{"bodyBackColor"};
inline constexpr IntKey priority{"priority"};
inline constexpr IntKey isTitle{"isTitle"};
inline constexpr IntKey isBody{"isBody"};
inline constexpr IntKey isEdit{"isEdit"};
inline constexpr IntKey Transparency{"Transparency"};
inline constexpr UIntKey time{"time"};
inline constexpr IntKey isReminder{"isReminder"};
inline constexpr UIntKey remindTime{"remindTime"};
inline constexpr UIntKey remindTime1{"remindTime1"};
inline constexpr UIntKey remindTime2{"remindTime2"};
inline constexpr IntKey remindRepeat{"remindRepeat"};
inline constexpr IntKey remindSnoozeTime{"remindSnoozeTime"};
inline constexpr IntKey remindRepeatTimes{"remindRepeatTimes"};
inline constexpr IntKey remindRepeatInterval{"remindRepeatInterval"};
inline constexpr IntKey remindRepeatInterval2{"remindRepeatInterval2"};
inline constexpr IntKey remindAction{"remindAction"};
inline constexpr IntKey remindFlashTimes{"remindFlashTimes"};
inline constexpr IntKey remindFlashInterval{"remindFlashInterval"};
inline constexpr TextKey remindWav{"remindWav"};
inline constexpr TextKey remindUrl{"remindUrl"};
inline constexpr TextKey remindExe{"remindExe"};
inline constexpr TextKey attachedFiles{"attachedFiles"};
inline constexpr TextKey imagePath{"imagePath"};
inline constexpr IntKey imagePos{"imagePos"};
inline constexpr IntKey isDeleted{"isDeleted"};
inline constexpr IntKey links{"links"};
inline constexpr UIntKey expireTime{"expireTime"};
inline constexpr UIntKey deleteTime{"deleteTime"};
inline constexpr IntKey isClosed{"isClosed"};
inline constexpr TextKey schedule{"schedule"};
inline constexpr IntKey repeatEach{"repeatEach"};

// Attributes only some notes carry, after the standard ones, read and written through the
// store's note extras: a note without them reads and writes as before they existed.
inline constexpr const char* snoozeEnd = "remindSnoozeEnd";
inline constexpr const char* missedAlarm = "remindMissed";

}  // namespace note

}  // namespace bp
