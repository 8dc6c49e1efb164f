#pragma once

#include <string>
#include <vector>

namespace corvane {

class CGraphicObj;

// What is wrong with the links between the objects of the four lists of a layout, empty when
// nothing is: every caption and its owner name each other (or neither names the other), and
// every trunk set stands in the trunk-set lists of its ends, once per end, and nowhere else.
std::string FindBrokenLinks(const std::vector<CGraphicObj*>& intercoms,
                            const std::vector<CGraphicObj*>& trunkSets,
                            const std::vector<CGraphicObj*>& intercomCaptions,
                            const std::vector<CGraphicObj*>& trunkSetCaptions);

}  // namespace corvane
