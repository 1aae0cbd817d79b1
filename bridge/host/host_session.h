// The host's conversation with the extension, without the platform: which
// answer each message gets, what a pick starts, and when the extension hears
// of a changed list unasked. The platform behind it is HostPlatform.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/host/framing.h"
#include "bridge/host/launch_plan.h"
#include "bridge/host/messages.h"
#include "bridge/host/request.h"
#include "catalogue/item_record.h"

enum class LaunchResult { Started, Confirmed, Failed };

struct CatalogueSnapshot {
  std::vector<ItemRecord> items;
  std::string settingsBytes;
  bool read = true;  // false: the file is there but could not be read
};

class HostPlatform {
 public:
  virtual ~HostPlatform() = default;
  // Orbisk's list as Orbisk itself lists it (its settings file, registered
  // items only, sorted), with the settings file's bytes it came from ("" when
  // there is no file).
  virtual CatalogueSnapshot ReadCatalogue() = 0;
  virtual std::u16string AnsiToUtf16(std::string_view ansi) = 0;
  // The text as a code page 932 program reads it, without best fit: "?" for
  // what the code page cannot hold.
  virtual std::u16string AsCodePageHoldsIt(std::u16string_view text) = 0;
  // Which kind of program the path names: a batch file by its extension,
  // one of Orbisk's launchers by its version resource, whatever its name.
  virtual ProgramKind KindOfProgram(const std::u16string& application) = 0;
  // The system's ANSI code page, as a program that reads its line in it gets
  // the line: converted with best fit.
  virtual std::string ToSystemAnsi(std::u16string_view text) = 0;
  virtual bool IsSystemLeadByte(unsigned char byte) = 0;
  // cmd.exe in the system folder, never looked for elsewhere; "" when the
  // system folder is unknown, and then nothing starts.
  virtual std::u16string SystemCmd() = 0;
  // A batch file's text, "" when it cannot be read.
  virtual std::u16string BatchFileText(const std::u16string& path) = 0;
  virtual LocalTime Now() = 0;
  // Does what the item script's last lines do: shows the command line for
  // confirmation, or starts the application and reports a failure in a box.
  // Never called with a refused plan.
  virtual LaunchResult Launch(const LaunchPlan& plan) = 0;
};

// Frames and writes one message body; called by one thread at a time.
using WriteMessage = std::function<void(const std::string& body)>;

class HostSession {
 public:
  // callerAllowed: the browser started the host for the Orbisk extension.
  // Any other caller gets an error for every message and starts nothing.
  HostSession(HostPlatform& platform, bool callerAllowed, WriteMessage write);

  // Answers one message body.
  void Answer(std::string_view body);

  // Answers a frame that could not be read whole.
  void Refuse(const std::string& messageUtf8);

  // Sends the list unasked when it differs from the one the extension saw
  // last (or, before any list was sent, from the one at the first call).
  void SendItemsIfChanged();

 private:
  struct Snapshot {
    bool read = true;
    std::vector<ListedItem> items;
    std::string version;
  };
  Snapshot TakeSnapshot();  // itemsLock_ held
  void Pick(const Request& request);

  HostPlatform& platform_;
  const bool callerAllowed_;
  WriteMessage write_;
  // Loading the catalogue (program-wide state) and knowing which list the
  // extension saw last; a list is written while it is held, so an older list
  // can never overtake a newer one.
  std::mutex itemsLock_;
  std::string lastVersion_;
};

// Reads frames until the input ends and answers each. afterFirstAnswer runs
// once, after the first answer was written (the port is open from then on).
void ServeMessages(const ReadSome& read, HostSession& session, const std::function<void()>& afterFirstAnswer);
