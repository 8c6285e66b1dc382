#include "report/TrayToolTip.h"

#include "common/CodePage.h"

namespace velmar {

std::string TrayToolTipText(const std::vector<std::string>& activeNames,
                            std::optional<std::string_view> problem, const ToolTipRules& rules) {
    std::string tip(kToolTipHeadingText);
    for (std::size_t i = 0; i < activeNames.size() && i < kToolTipNamedProfiles; ++i) {
        tip.append(rules.LineBreak).append(kToolTipBulletText).append(activeNames[i]);
    }
    // Windows only: the cut falls wherever it falls, inside a name or between
    // the carriage return and line feed of a line break.
    if (rules.Limit == ToolTipLimit::Windows && Utf8Length(tip) > kWindowsToolTipCut) {
        tip = Utf8Left(tip, kWindowsToolTipCut);
    }
    if (activeNames.size() > kToolTipNamedProfiles) {
        tip.append(kToolTipMoreText);
    }
    if (problem) {
        tip.append(rules.LineBreak);
        if (Utf8Length(*problem) <= kToolTipProblemChars) {
            tip.append(*problem);
        } else {
            tip.append(Utf8Left(*problem, kToolTipProblemChars - 1)).append("\xE2\x80\xA6");
        }
    }
    return tip;
}

} // namespace velmar
