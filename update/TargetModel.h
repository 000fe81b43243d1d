#pragma once
// The printer model this installer is for: the names it accepts, the
// firmware version it carries and the model code its image must bear.

#include <string>
#include <string_view>
#include <vector>

class CTargetModel {
public:
    // `names` separated by ","; each is trimmed of white space and kept even
    // when empty, but a final comma adds no name.
    CTargetModel(int version, int modelCode, std::wstring_view names);

    // Without `suffix`: `name` equals one of the names exactly. With it: the
    // first occurrence of some name inside `name` ends at its end (a
    // registered device "Corvex KX-70" is a "KX-70").
    bool MatchesModel(std::wstring_view name, bool suffix) const;

    std::vector<std::wstring> m_listNames; // in the order given
    int m_nVersion;                        // hundredths
    int m_nModelCode;
};
