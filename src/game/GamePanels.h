#pragma once

#include <memory>

namespace zentrix {

class CSlideOut;
class CSlideOutMan;

/// The panel of each slide-out index the game makes (the message box aside, which the slide-out
/// manager makes itself); null for an index without a panel.
std::unique_ptr<CSlideOut> MakeGamePanel(int index, int resourceId, bool usesHelpPanel,
                                         CSlideOutMan* manager);

} // namespace zentrix
