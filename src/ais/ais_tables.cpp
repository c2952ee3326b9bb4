#include "ais_tables.h"

#include <utility>

namespace tiderune {

namespace {

// Countries of the Maritime Identification Digits, as the program has always named them.
constexpr std::pair<int, const char*> kMidCountries[] = {
        {201, "Albania"},
        {202, "Andorra"},
        {203, "Austria"},
        {204, "Azores"},
        {205, "Belgium"},
        {206, "Belarus"},
        {207, "Bulgaria"},
        {208, "Vatican City State"},
        {209, "Cyprus"},
        {210, "Cyprus"},
        {211, "Germany"},
        {212, "Cyprus"},
        {213, "Georgia"},
        {214, "Moldova"},
        {215, "Malta"},
        {218, "Germany"},
        {219, "Denmark"},
        {220, "Denmark"},
        {224, "Spain"},
        {225, "Spain"},
        {226, "France"},
        {227, "France"},
        {228, "France"},
        {230, "Finland"},
        {231, "Faroe Islands"},
        {232, "United Kingdom"},
        {233, "United Kingdom"},
        {234, "United Kingdom"},
        {235, "United Kingdom"},
        {236, "Gibraltar"},
        {237, "Greece"},
        {238, "Croatia"},
        {239, "Greece"},
        {240, "Greece"},
        {242, "Morocco"},
        {243, "Hungary"},
        {244, "Netherlands"},
        {245, "Netherlands"},
        {246, "Netherlands"},
        {247, "Italy"},
        {248, "Malta"},
        {249, "Malta"},
        {250, "Ireland"},
        {251, "Iceland"},
        {252, "Liectenstein"},
        {253, "Luxenbourg"},
        {254, "Monaco"},
        {255, "Madeira"},
        {256, "Malta"},
        {257, "Norway"},
        {258, "Norway"},
        {259, "Norway"},
        {261, "Poland"},
        {263, "Portugal"},
        {264, "Romania"},
        {265, "Sweden"},
        {266, "Sweden"},
        {267, "Slovakia"},
        {268, "San Marino"},
        {269, "Switzerland"},
        {270, "Czech Republic"},
        {271, "Turkey"},
        {272, "Ukraine"},
        {273, "Russia"},
        {274, "Macedonia"},
        {275, "Latvia"},
        {276, "Estonia"},
        {277, "Lithuania"},
        {278, "Slovenia"},
        {279, "Serbia and Montenegro"},
        {301, "Anguilla"},
        {303, "Alaska"},
        {304, "Antigua and Barbuda"},
        {306, "Netherlands Antilles"},
        {307, "Aruba"},
        {308, "Bahamas"},
        {309, "Bahamas"},
        {310, "Bermuda"},
        {311, "Bahamas"},
        {312, "Belize"},
        {314, "Barbados"},
        {316, "Canada"},
        {319, "Cayman Islands"},
        {321, "Costa Rica"},
        {323, "Cuba"},
        {325, "Dominica"},
        {327, "Dominician republic"},
        {329, "Guadeloupe"},
        {330, "Grenada"},
        {331, "Greenland"},
        {332, "Guatemala"},
        {334, "Honduras"},
        {336, "Haiti"},
        {338, "USA"},
        {339, "Jamaica"},
        {341, "Saint Kitts and Nevis"},
        {343, "Saint Lucia"},
        {345, "Mexico"},
        {347, "Martinique"},
        {348, "Montserrat"},
        {350, "Nicaragua"},
        {351, "Panama"},
        {352, "Panama"},
        {353, "Panama"},
        {354, "Panama"},
        {355, "Panama"},
        {356, "Panama"},
        {357, "Panama"},
        {358, "Puerto Rico"},
        {359, "El Salvador"},
        {361, "Saint Pierre and Miquelon"},
        {362, "Trinidad and Tobago"},
        {364, "Turks and Caicos Islands"},
        {366, "USA"},
        {367, "USA"},
        {368, "USA"},
        {369, "USA"},
        {375, "Saint Vincent and the Grenadines"},
        {376, "Saint Vincent and the Grenadines"},
        {377, "Saint Vincent and the Grenadines"},
        {378, "British Virgin Islands"},
        {379, "US Virgin Islands"},
        {401, "Afghanistan"},
        {403, "Saudi Arabia"},
        {405, "Bangladesh"},
        {408, "Bahrain"},
        {410, "Bhutan"},
        {412, "China"},
        {413, "China"},
        {416, "Taiwan"},
        {417, "Sri Lanka"},
        {419, "India"},
        {422, "Iran"},
        {423, "Azerbaijani Republic"},
        {425, "Iraq"},
        {428, "Israel"},
        {431, "Japan"},
        {432, "Japan"},
        {434, "Turkmenistan"},
        {436, "Kazakhstan"},
        {437, "Uzbekistan"},
        {438, "Jordan"},
        {440, "Korea"},
        {441, "Korea"},
        {443, "Palestine"},
        {445, "Democratic People's Rep. of Korea"},
        {447, "Kuwait"},
        {450, "Lebanon"},
        {455, "Maldives"},
        {457, "Mongolia"},
        {459, "Nepal"},
        {461, "Oman"},
        {463, "Pakistan"},
        {466, "Qatar"},
        {468, "Syria"},
        {470, "United Arab Emirates"},
        {473, "Yemen"},
        {475, "Yemen"},
        {477, "Hongkong"},
        {501, "Adelia Land"},
        {503, "Australia"},
        {506, "Myanmar"},
        {508, "Brunei Darussalam"},
        {510, "Micronesia"},
        {511, "Palau"},
        {512, "New Zeeland"},
        {514, "Cambodia"},
        {515, "Cambodia"},
        {516, "Christmas Island"},
        {518, "Cook Islands"},
        {520, "Fiji"},
        {523, "Cocos Islands"},
        {525, "Indonesia"},
        {529, "Kiribati"},
        {531, "Lao People's Democratic Republic"},
        {533, "Malaysia"},
        {536, "Northern Mariana Islands"},
        {538, "Marshall Islands"},
        {540, "New Caledonia"},
        {542, "Niue"},
        {544, "Nauru"},
        {546, "French Polynesia"},
        {548, "Philippines"},
        {553, "Papua New Guinea"},
        {555, "Pitcairn Island"},
        {557, "Solomon Islands"},
        {559, "American Samoa"},
        {561, "Samoa"},
        {563, "Singapore"},
        {564, "Singapore"},
        {567, "Thailand"},
        {570, "Tonga"},
        {572, "Tuvalu"},
        {574, "Viet Nam"},
        {576, "Vanuatu"},
        {578, "Wallis and Futuna Islands"},
        {601, "South Africa"},
        {603, "Angola"},
        {605, "Algeria"},
        {607, "Saint Paul and Amsterdam Islands"},
        {608, "Ascension Island"},
        {609, "Burundi"},
        {610, "Benin"},
        {611, "Botswana"},
        {612, "Central African Republic"},
        {613, "Cameroon"},
        {615, "Congo"},
        {616, "Comoros"},
        {617, "Cape Verde"},
        {618, "Crazet Archipelago"},
        {619, "C\xF4" "te d'Ivoire"},
        {621, "Djibouti"},
        {622, "Egypt"},
        {624, "Ethiopia"},
        {625, "Eritrea"},
        {626, "Gabonese Republic"},
        {627, "Ghana"},
        {629, "Gambia"},
        {630, "Guinea-Bissau"},
        {631, "Equatorial Guinea"},
        {632, "Guinea"},
        {633, "Burkina Faso"},
        {634, "Kenya"},
        {635, "Kerguelen Islands"},
        {636, "Liberia"},
        {637, "Liberia"},
        {642, "Libya"},
        {644, "Lesotho"},
        {645, "Mauritius"},
        {647, "Madagascar"},
        {649, "Mali"},
        {650, "Mozambique"},
        {654, "Mauretania"},
        {655, "Malawi"},
        {656, "Niger"},
        {657, "Nigeria"},
        {659, "Namibia"},
        {660, "Reunion"},
        {661, "Rwandese Republic"},
        {662, "Sudan"},
        {663, "Senegal"},
        {664, "Seychelles"},
        {665, "Saint Helena"},
        {666, "Somali Democratic Republic"},
        {667, "Sierra Leone"},
        {668, "Sao Tome and Principe"},
        {669, "Swaziland"},
        {670, "Chad"},
        {671, "Togolese Republic"},
        {672, "Tunisia"},
        {674, "Tanzania"},
        {675, "Uganda"},
        {676, "Democratic Rep of Congo"},
        {677, "Tanzania"},
        {678, "Zambia"},
        {679, "Zimbabwe"},
        {701, "Argentine"},
        {710, "Brazil"},
        {720, "Bolivia"},
        {725, "Chile"},
        {730, "Colombia"},
        {735, "Ecuador"},
        {740, "Falkland Islands"},
        {745, "Guiana (French dep of"},
        {750, "Guyana"},
        {755, "Paraguay"},
        {760, "Peru"},
        {765, "Suriname"},
        {770, "Uruguay"},
        {775, "Venezuela"},
};

}  // namespace

AisTables InitAISTables() {
    AisTables t;

    const char* navStatus[] = {"Under way using engines",
                               "At anchor",
                               "Not under command",
                               "Restricted manoeuvrability",
                               "Constrained by her draught",
                               "Moored",
                               "Aground",
                               "Engaged in fishing",
                               "Under way sailing",
                               "HSC (High Speed Craft)",
                               "WIG (Wing in Ground)",
                               "Power driven vessel towing astern",
                               "Power driven vessel pushing ahead or towing alongside",
                               "reserved",
                               "AIS-SART Active",
                               "AIS-SART Test mode"};
    for (int i = 0; i <= 15; ++i) t.NavStatusText[i] = navStatus[i];

    t.PositionAccuracyText[0] = "Low accuracy, >10 m";
    t.PositionAccuracyText[1] = "High accuracy, <10 m";

    t.HazardCategoryText[0] = "Not specified";
    t.HazardCategoryText[1] = "Carrying DG,HS or MP IMO hazard or pollutant category X";
    t.HazardCategoryText[2] = "Carrying DG,HS or MP IMO hazard or pollutant category Y";
    t.HazardCategoryText[3] = "Carrying DG,HS or MP IMO hazard or pollutant category Z";
    t.HazardCategoryText[4] = "Carrying DG,HS or MP IMO hazard or pollutant category OS";
    for (int i = 5; i <= 8; ++i) t.HazardCategoryText[i] = "Reserved for future use";
    t.HazardCategoryText[9] = "No additional information";

    // Ship types: first the rows that have texts of their own ...
    t.ShipTypeText[0] = "Not defined";
    t.ShipTypeText[10] = "Reserved for future use";
    t.ShipTypeText[20] = "WIG (Wing In Ground)";
    t.ShipTypeText[30] = "Vessel-Fishing";
    t.ShipTypeText[31] = "Vessel-Towing";
    t.ShipTypeText[32] = "Vessel-Towing. Length >200 m or breadth >25 m";
    t.ShipTypeText[33] = "Vessel-Engaged in dredging or underwater operation";
    t.ShipTypeText[34] = "Vessel-Engaged in diving operation";
    t.ShipTypeText[35] = "Vessel-Engaged in military operation";
    t.ShipTypeText[36] = "Vessel-Sailing";
    t.ShipTypeText[37] = "Vessel-Pleasure Craft";
    t.ShipTypeText[38] = "Vessel-Reserved for future use";
    t.ShipTypeText[39] = "Vessel-Reserved for future use";
    t.ShipTypeText[40] = "HSC";
    t.ShipTypeText[50] = "Pilot Vessel";
    t.ShipTypeText[51] = "Search and Rescue";
    t.ShipTypeText[52] = "Tug";
    t.ShipTypeText[53] = "Port Tender";
    t.ShipTypeText[54] = "Vessel with antipollution facilities or equipment";
    t.ShipTypeText[55] = "Law Enforcement vessel";
    t.ShipTypeText[56] = " not used";
    t.ShipTypeText[57] = " not used";
    t.ShipTypeText[58] = "Medical Transport";
    t.ShipTypeText[59] = "Ships and aircrafts of States not parties to an armed conflict";
    t.ShipTypeText[60] = "Passenger Ship";
    t.ShipTypeText[70] = "Cargo ship";
    t.ShipTypeText[80] = "Tanker";
    t.ShipTypeText[90] = "Other type of ship";

    // ... then the short texts, which take the decade's own text (the fishing/towing and
    // special-craft decades have a text per row) ...
    for (int d = 0; d <= 90; d += 10) {
        for (int i = 0; i <= 9; ++i) {
            t.ShipTypeShortText[d + i] = (d == 30 || d == 50) ? t.ShipTypeText[d + i] : t.ShipTypeText[d];
        }
    }

    // ... and last the rows that join the decade's text with the hazard category.
    for (int d = 10; d <= 90; d += 10) {
        if (d == 30 || d == 50) continue;
        for (int i = 1; i <= 9; ++i) {
            t.ShipTypeText[d + i] = t.ShipTypeText[d] + " - " + t.HazardCategoryText[i];
        }
    }

    const char* epfd[] = {"Undefined", "GPS",     "Glonass", "GPS/Glonass", "Loran-C", "Chayka",
                          "Integrated Navigation System", "Surveyed", "Galileo"};
    for (int i = 0; i <= 8; ++i) t.EPFDTypeText[i] = epfd[i];
    for (int i = 9; i <= 14; ++i) t.EPFDTypeText[i] = "not used";
    t.EPFDTypeText[15] = "Internal GNSS";
    t.EPFDTypeText[16] = "not used";

    const char* aton[] = {"Not specified",
                          "Reference Point",
                          "RACON",
                          "Offshore Structure",
                          "Emergency wreck Marking Buoy",
                          "Light - Without sectors",
                          "Ligth - With sectors",
                          "Leading light front",
                          "Leading Light Rear",
                          "Beacon - Cardinal N",
                          "Beacon - Cardinal E",
                          "Beacon - Cardinal S",
                          "Beacon - Cardinal W",
                          "Beacon - Port hand",
                          "Beacon - Starboard hand ",
                          "Beacon - Preferred ch. port hand ",
                          "Beacon - Preferred ch. stb hand ",
                          "Beacon - Isolated danger",
                          "Beacon - Safe water ",
                          "Beacon - Special mark",
                          "Cardinal mark N",
                          "Cardinal mark E",
                          "Cardinal mark S",
                          "Cardinal mark W",
                          "Port hand mark",
                          "Starboard hand mark",
                          "Preferred channel port hand",
                          "Preferred channel stb hand",
                          "Isolated danger",
                          "Safe water",
                          "Special mark",
                          "Light vessel/LANBY/Rigs"};
    for (int i = 0; i <= 31; ++i) t.AtoNTypeText[i] = aton[i];

    for (const auto& [mid, country] : kMidCountries) t.MIDCountry[mid] = country;
    return t;
}

}  // namespace tiderune
