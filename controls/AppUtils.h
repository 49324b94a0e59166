#pragma once
// Storage helpers of the form placement and the speed bar layout: default section,
// INI and registry key names, reading and writing through either an INI file or a
// registry key (TIniObject), and the writer and reader of a form's placement keys.
//
// A form's placement, one section, in this order: "Flags", "ShowCmd",
// "PixelsPerInch", "MinMaxPos(WxH)", "MinMaxPos", "NormPos(WxH)", "NormPos" (W x H
// the screen's size in pixels; the plain keys serve another screen size).
#include <QObject>
#include <QWidget>

#include <functional>
#include <string>
#include <variant>

#include "platform/IniFile.h"
#include "platform/RegIniFile.h"

namespace zeko {

// Where stored settings go: an INI file, a registry key, or nowhere.
using TIniObject = std::variant<std::monostate, TIniFile*, TRegIniFile*>;

// Program-wide settings of the default names (this program leaves them as they are).
extern std::function<std::string()> IniNameOverride;
extern std::string RegistryCompany;
extern bool RegistryUseTitle;

// The class name of a component without its namespace ("THlavniForm").
std::string ComponentClassName(const QObject* component);
// A window of the program (a form) as the storage routines see it.
bool IsForm(const QObject* component);

std::string GetDefaultSection(const QObject* component);
std::string GetDefaultIniName();
std::string GetDefaultIniRegKey();

std::string IniReadString(const TIniObject& ini, const std::string& section, const std::string& key,
                          const std::string& fallback);
// In an INI file a value that begins and ends with the same quote gets one more
// pair of double quotes, so that reading it gives it back whole.
void IniWriteString(const TIniObject& ini, const std::string& section, const std::string& key,
                    const std::string& value);
long long IniReadInteger(const TIniObject& ini, const std::string& section, const std::string& key,
                         long long fallback);
void IniWriteInteger(const TIniObject& ini, const std::string& section, const std::string& key, long long value);
void IniEraseSection(const TIniObject& ini, const std::string& section);

std::string ScreenSizeSuffix();  // "(1024x768)"
// key + suffix, or the plain key when that is empty.
std::string ReadPosStr(const TIniObject& ini, const std::string& section, const std::string& key);
void WritePosStr(const TIniObject& ini, const std::string& section, const std::string& key, const std::string& text);

// The program's main window, for the state rules of the placement; none by default.
QWidget* ApplicationMainForm();
void SetApplicationMainForm(QWidget* form);

void WriteFormPlacement(QWidget* form, const TIniObject& ini, const std::string& section);
void ReadFormPlacement(QWidget* form, const TIniObject& ini, const std::string& section, bool loadPosition,
                       bool loadState);

} // namespace zeko
