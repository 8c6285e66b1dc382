#include "report/TrayToolTip.h"

#include "common/CodePage.h"

namespace velmar {

std::string TrayToolTipText(const std::vector<std::string>& activeNames,
                            std::optional<std::string_view> problem, const ToolTipRules& rules) {
    std::string tip(kToolTipHeading);
    for (std::size_t i = 0; i < activeNames.size() && i < kToolTipNames; ++i) {
        tip.append(rules.LineBreak).append(kToolTipBullet).append(activeNames[i]);
    }
    // Windows only: the cut falls wherever it falls, inside a name or between
    // the carriage return and line feed of a line break.
    if (rules.Limit == ToolTipLimit::Windows && Utf8Length(tip) > kToolTipCut) {
        tip = Utf8Left(tip, kToolTipCut);
    }
    if (activeNames.size() > kToolTipNames) {
        tip.append(kToolTipMore);
    }
    if (problem) {
        tip.append(rules.LineBreak);
        if (Utf8Length(*problem) <= kToolTipProblemLength) {
            tip.append(*problem);
        } else {
            tip.append(Utf8Left(*problem, kToolTipProblemLength - 1)).append("\xE2\x80\xA6");
        }
    }
    return tip;
}

} // namespace velmar
