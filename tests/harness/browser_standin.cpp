#include "tests/harness/browser_standin.h"

#include "common/text_util.h"
#include "common/win_handles.h"
#include "tests/harness/win_test_util.h"

namespace {

constexpr char kMenuExt[] = "Software\\Microsoft\\Internet Explorer\\MenuExt\\";

}  // namespace

std::string VbText(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) {
      out += "\" & Chr(" + std::to_string(byte) + ") & \"";
    } else if (c == '"') {
      out += "\"\"";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

namespace {

// The classes and functions that stand in for the browser. `event` and `type`
// are words VBScript reserves, so those two are read-only properties.
constexpr char kStandInClasses[] = R"VB(
Dim standInExternal
Dim standInPrompt
Dim standInRange

Function external()
If IsEmpty(standInExternal) Then StandInBuildPage
Set external = standInExternal
End Function

Function window()
If IsEmpty(standInExternal) Then StandInBuildPage
Set window = standInPrompt
End Function

Class StandInElement
Public tagName
Public href
Public innerText
Public src
Public alt
Public useMap
Public name
Public parentElement
Private standInType
Public Property Get type
type = standInType
End Property
Public Sub StandInInit(t, h, it, s, a, ty, u, n)
tagName = t
href = h
innerText = it
src = s
alt = a
standInType = ty
useMap = u
name = n
Set parentElement = Nothing
End Sub
End Class

Class StandInDocument
Public URL
Public title
Public images
Public selection
Public standInX
Public standInY
Public standInPoint
Public Function elementFromPoint(x, y)
If x = standInX And y = standInY Then
Set elementFromPoint = standInPoint
Else
Set elementFromPoint = Nothing
End If
End Function
End Class

Class StandInSelection
Public Function createRange()
Set createRange = standInRange
End Function
End Class

Class StandInRange
Public htmlText
Public standInAssignments
Private standInText
Public Property Get text
text = standInText
End Property
Public Property Let text(value)
standInText = value
standInAssignments = standInAssignments + 1
End Property
Public Sub StandInInit(t, h)
standInText = t
htmlText = h
standInAssignments = 0
End Sub
End Class

Class StandInEvent
Public srcElement
Public x
Public y
End Class

Class StandInWindow
Public document
Public top
Private standInEvent
Public Property Get event
Set event = standInEvent
End Property
Public Sub StandInSetEvent(e)
Set standInEvent = e
End Sub
End Class

Class StandInExternal
Public menuArguments
End Class

Class StandInPrompt
Public calls
Public message
Public defaultText
Public answer
Public Function prompt(m, d)
calls = calls + 1
message = m
defaultText = d
prompt = answer
End Function
End Class

Function StandInNewElement(t, h, it, s, a, ty, u, n)
Dim e
Set e = New StandInElement
e.StandInInit t, h, it, s, a, ty, u, n
Set StandInNewElement = e
End Function

Sub StandInWrite(fso, path, text)
Dim f
Set f = fso.CreateTextFile(path, True, False)
f.Write text
f.Close
End Sub
)VB";

std::string Element(const PageElement& e) {
  return "StandInNewElement(" + VbText(e.tagName) + ", " + VbText(e.href) + ", " + VbText(e.innerText) +
         ", " + VbText(e.src) + ", " + VbText(e.alt) + ", " + VbText(e.type) + ", " + VbText(e.useMap) +
         ", " + VbText(e.name) + ")";
}

// e(0) is BODY (its parent HTML); fixture element i is e(i + 1).
std::string ElementRef(int index) { return "e(" + std::to_string(index + 1) + ")"; }

std::string BuildPageSub(const PageFixture& page, const std::string& subName) {
  std::string s = "Sub " + subName + "()\r\n";
  s += "Dim e, frameDoc, topDoc, frameWin, topWin, ev, sel\r\n";
  s += "ReDim e(" + std::to_string(page.elements.size()) + ")\r\n";
  s += "Set e(0) = StandInNewElement(\"BODY\", \"\", \"\", \"\", \"\", \"\", \"\", \"\")\r\n";
  s += "Set e(0).parentElement = StandInNewElement(\"HTML\", \"\", \"\", \"\", \"\", \"\", \"\", \"\")\r\n";
  for (size_t i = 0; i < page.elements.size(); ++i) {
    s += "Set " + ElementRef(static_cast<int>(i)) + " = " + Element(page.elements[i]) + "\r\n";
  }
  for (size_t i = 0; i < page.elements.size(); ++i) {
    s += "Set " + ElementRef(static_cast<int>(i)) +
         ".parentElement = " + ElementRef(page.elements[i].parent) + "\r\n";
  }
  s += "Set frameDoc = New StandInDocument\r\n";
  s += "frameDoc.URL = " + VbText(page.framed ? page.frameUrl : page.topUrl) + "\r\n";
  s += "frameDoc.title = " + VbText(page.framed ? page.frameTitle : page.topTitle) + "\r\n";
  std::string images;
  for (const int image : page.images) images += (images.empty() ? "" : ", ") + ElementRef(image);
  s += "frameDoc.images = Array(" + images + ")\r\n";
  s += "Set sel = New StandInSelection\r\n";
  s += "Set frameDoc.selection = sel\r\n";
  s += "Set standInRange = New StandInRange\r\n";
  s += "standInRange.StandInInit " + VbText(page.selectionText) + ", " + VbText(page.selectionHtml) + "\r\n";
  s += "frameDoc.standInX = " + std::to_string(page.x) + "\r\n";
  s += "frameDoc.standInY = " + std::to_string(page.y) + "\r\n";
  s += "Set frameDoc.standInPoint = " + ElementRef(page.pointElement) + "\r\n";
  s += "Set ev = New StandInEvent\r\n";
  s += "Set ev.srcElement = " + ElementRef(page.sourceElement) + "\r\n";
  s += "ev.x = " + std::to_string(page.x) + "\r\n";
  s += "ev.y = " + std::to_string(page.y) + "\r\n";
  s += "Set frameWin = New StandInWindow\r\n";
  s += "Set frameWin.document = frameDoc\r\n";
  s += "frameWin.StandInSetEvent ev\r\n";
  if (page.framed) {
    s += "Set topDoc = New StandInDocument\r\n";
    s += "topDoc.URL = " + VbText(page.topUrl) + "\r\n";
    s += "topDoc.title = " + VbText(page.topTitle) + "\r\n";
    s += "Set topWin = New StandInWindow\r\n";
    s += "Set topWin.document = topDoc\r\n";
    s += "Set topWin.top = topWin\r\n";
    s += "Set frameWin.top = topWin\r\n";
  } else {
    s += "Set frameWin.top = frameWin\r\n";
  }
  s += "Set standInExternal = New StandInExternal\r\n";
  s += "Set standInExternal.menuArguments = frameWin\r\n";
  s += "Set standInPrompt = New StandInPrompt\r\n";
  s += "standInPrompt.calls = 0\r\n";
  s += "standInPrompt.answer = " + (page.promptAnswer ? VbText(*page.promptAnswer) : std::string("Null")) +
       "\r\n";
  s += "End Sub\r\n";
  return s;
}

// Runs after the item's code: records what it did with the stand-in and, last,
// the marker that says the code ran to its end.
std::string FinishStatements(const std::string& resultFolder) {
  const std::string folder = VbText(resultFolder);
  return "If IsEmpty(standInExternal) Then StandInBuildPage\r\n"
         "Dim standInFso\r\n"
         "Set standInFso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
         "StandInWrite standInFso, " +
         folder +
         " & \"prompt-calls\", CStr(standInPrompt.calls)\r\n"
         "StandInWrite standInFso, " +
         folder +
         " & \"prompt-message\", CStr(standInPrompt.message)\r\n"
         "StandInWrite standInFso, " +
         folder +
         " & \"prompt-default\", CStr(standInPrompt.defaultText)\r\n"
         "StandInWrite standInFso, " +
         folder +
         " & \"range-assignments\", CStr(standInRange.standInAssignments)\r\n"
         "StandInWrite standInFso, " +
         folder +
         " & \"range-text\", standInRange.text\r\n"
         "StandInWrite standInFso, " +
         folder + " & \"end\", \"END\"\r\n";
}

std::string Upper(const std::string& text) { return ToUpperSjis(text); }

}  // namespace

std::string StandInClasses() { return kStandInClasses; }

std::string StandInPageSub(const PageFixture& page, const std::string& subName) {
  return BuildPageSub(page, subName);
}

std::string RegisteredScriptPath(const std::string& itemName) {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (kMenuExt + itemName).c_str(), 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS) {
    return {};
  }
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), "", nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
    return {};
  std::string value(size, '\0');
  if (RegQueryValueExA(key.get(), "", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  value.resize(strnlen(value.c_str(), value.size()));
  return value;
}

std::string ExtractScriptCode(const std::string& html) {
  const std::string upper = Upper(html);
  const size_t open = upper.find("<SCRIPT");
  if (open == std::string::npos) return {};
  const size_t start = upper.find('>', open);
  if (start == std::string::npos) return {};
  const size_t end = upper.find("</SCRIPT", start);
  return html.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

ScriptRun RunMenuScript(const std::string& itemName, const PageFixture& page, const std::string& workFolder) {
  ScriptRun run;
  const std::string scriptPath = RegisteredScriptPath(itemName);
  const std::string html = ReadFileBytes(scriptPath);
  const std::string code = ExtractScriptCode(html);
  if (code.empty()) {
    run.error = "no script code for the item's MenuExt key (path \"" + scriptPath + "\")";
    return run;
  }
  const std::string results = workFolder + "results\\";
  DeleteTree(results);
  CreateDirectoryA(workFolder.c_str(), nullptr);
  CreateDirectoryA(results.c_str(), nullptr);
  const std::string composed =
      code + "\r\n" + kStandInClasses + BuildPageSub(page, "StandInBuildPage") + FinishStatements(results);
  const std::string vbs = workFolder + "menu-script.vbs";
  if (!WriteFileBytes(vbs, composed)) {
    run.error = "cannot write " + vbs;
    return run;
  }
  run.ran =
      RunProcess("c:\\windows\\system32\\cscript.exe //nologo \"" + vbs + "\"", 60000, workFolder) != -1;
  run.completed = ReadFileBytes(results + "end") == "END";
  run.promptCalls = atoi(ReadFileBytes(results + "prompt-calls").c_str());
  run.promptMessage = ReadFileBytes(results + "prompt-message");
  run.promptDefault = ReadFileBytes(results + "prompt-default");
  run.rangeTextAssignments = atoi(ReadFileBytes(results + "range-assignments").c_str());
  run.rangeText = ReadFileBytes(results + "range-text");
  return run;
}
