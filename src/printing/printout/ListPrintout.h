#pragma once

namespace ludora {

class Collection;
class PrintSurface;

// Prints the lists of the first three tabs on the surface, each list starting on a new page
// under a bold "<caption> List - Page <n>" header and ending with "<caption> Total = <count>".
// Empty lists are skipped. Failures of the surface are ignored: the printout always runs to
// its end and ends the document.
void printLists(const Collection& collection, PrintSurface& surface);

// Whether printLists() prints anything: one of the first three lists holds a name.
bool hasPrintableLists(const Collection& collection);

}  // namespace ludora
