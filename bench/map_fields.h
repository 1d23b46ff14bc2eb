// Map-backed stand-in for the window's fields, for the engine's benchmark.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "calculation.h"
#include "fault.h"
#include "fields.h"
#include "table_elements.h"

namespace kx::test {

class MapFields : public CalcFields {
public:
    // The window's initial texts: the reset inputs' effective values and the
    // fixed articulator points.
    MapFields() {
        texts = {{Field::txtFrontX, "70.5"}, {Field::txtFrontZ, "48"},   {Field::SCIleft, " 45"},
                 {Field::SCIright, " 45"},   {Field::TCIleft, " 6"},     {Field::TCIright, " 6"},
                 {Field::txtLeftX, "66"},    {Field::txtLeftY, "13.5"},  {Field::txtLeftZ, "50"},
                 {Field::txtRightX, "66"},   {Field::txtRightY, "13.5"}, {Field::txtRightZ, "50"}};
        for (Field f : {Field::ag, Field::agtable, Field::canineright, Field::caninetableright, Field::canineleft,
                        Field::caninetableleft})
            texts[f] = "0";
    }

    std::string text(Field f) const override {
        auto it = texts.find(f);
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(Field f, std::string_view t) override { texts[f] = std::string(t); }
    void setBackColor(Field f, Rgb c) override { back[f] = c; }
    void setForeColor(Field f, Rgb c) override { fore[f] = c; }
    std::string elementName(TableElement e) const override { return elementNames[std::size_t(e)]; }

    std::map<Field, std::string> texts;
    std::map<Field, Rgb> back, fore;
    // As the English window names them.
    std::array<std::string, kTableElementCount> elementNames{"blue", "green", "orange", "orange (yellow)"};
};

class FaultLog : public FaultReporter {
public:
    void reportFault(const CalcFault& fault) override { faults.push_back(fault); }
    std::vector<CalcFault> faults;
};

}  // namespace kx::test
