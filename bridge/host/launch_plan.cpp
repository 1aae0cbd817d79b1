#include "bridge/host/launch_plan.h"

#include "common/text_util.h"

LaunchPlan PlanLaunch(const ItemRecord& item, const PageFacts16& facts, const Clock& clock,
                      const AnsiToUtf16& ansiToUtf16) {
  const std::string path = TrimBlanks(item.AplPath);
  LaunchPlan plan;
  plan.application = ansiToUtf16(path);
  plan.folder = ansiToUtf16(GetFolderPart(path));
  plan.title = ansiToUtf16(ReplaceAll(TrimBlanks(item.ItemName), "&", ""));
  plan.commandLine =
      u"\"" + plan.application + u"\" " + SubstituteArguments(ansiToUtf16(item.Argments), facts, clock);
  // The loader keeps the style within 0 to 3; anything else is a normal window.
  plan.showWindow = item.WindowStyle >= 0 && item.WindowStyle <= 3 ? item.WindowStyle : 1;
  plan.confirm = item.ConfCmdLine == 1;
  return plan;
}
