#pragma once

namespace ludora {

// Makes assistive technology see the tab headers of ConsoleTabs as a page tab list of page
// tabs, with unavailable tabs reported as unavailable and refusing every action. Safe to
// call more than once.
void installTabAccessibility();

}  // namespace ludora
