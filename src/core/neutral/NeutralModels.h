#pragma once

#include "core/neutral/CellBuffers.h"
#include "core/neutral/ExactClasses.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

class ReplicateRandom;
struct NeutralModelDef;

enum class ParameterType {
    Real,     // a number in [low, high], either end open
    Integer,  // a whole number in [low, high]
    Choice,   // one of choices
    List,     // numbers, each in [low, high], separated by '/'
    File,     // a grid file of the landscape's size
};

// One parameter of a model, as the help, the checks and the docs show it.
struct ModelParameter {
    std::string name;
    std::string alias;  // another name it answers to (NLMpy's or NLMR's), or none
    ParameterType type = ParameterType::Real;
    double low = 0.0, high = 1.0;
    bool lowOpen = false, highOpen = false;
    std::vector<std::string> choices;
    // What an absent parameter takes: a number, a choice's or a list's text. Empty with
    // drawn false: the parameter must be given (or, for a file, is not used).
    std::string defaultText;
    bool drawn = false;      // absent: drawn anew for every replicate
    bool required = false;   // absent: the model is refused
    bool countsCells = false;  // a number of cells: at most the landscape's
    std::string help;

    // "periods (or period)": the name as lists show it.
    std::string shownName() const { return alias.empty() ? name : name + " (or " + alias + ")"; }
    // "(0, 1]", "1..10000", "4|8|diagonal", "LIST, each 1..256", "FILE".
    std::string rangeText() const;
    // Integers, and lists of them.
    bool wholeNumbers() const;
    // Why text cannot be this parameter's value; empty when it can.
    std::string check(const std::string& text) const;
};

// A parameter's value as a model reads it.
struct ParameterValue {
    double number = 0.0;         // Real, Integer; a Choice's index
    std::vector<double> list;    // List
    std::string text;            // as written (a File's path)
};

// A model with the parameters given to it. Only given parameters are kept, so that the text
// names exactly what the user chose and the defaults stay the table's.
struct ModelChoice {
    const NeutralModelDef* model = nullptr;
    std::vector<std::optional<ParameterValue>> given;  // by the parameter's place in the table

    // "cluster:p=0.55:neighbourhood=8": the model, then each given parameter in table order.
    std::string text() const;
    // The value of parameter name: given, else its default; nullopt when it has none (drawn,
    // or an unused file).
    std::optional<ParameterValue> value(const std::string& name) const;
    double number(const std::string& name) const { return value(name)->number; }
    // Sets NAME=VALUE, or VALUE alone for the model's first parameter; false with *error
    // set naming the parameter, its range and the model's parameter list.
    bool set(const std::string& assignment, std::string* error);
    // Why the choice cannot be made: a required parameter missing; empty when it can.
    std::string checkComplete() const;
};

// Builds rows x cols values of choice from random; false with *error set when it cannot (a
// source file that cannot be read).
using SurfaceBuilder = bool (*)(const ModelChoice& choice, int rows, int cols, ReplicateRandom& random, Surface& out,
                                std::string* error);
// The surface as tiles of one value each that cover the grid once, drawn as the surface's builder
// draws it; for models whose surfaces are made of rectangles.
using TileBuilder = bool (*)(const ModelChoice& choice, int rows, int cols, ReplicateRandom& random,
                             std::vector<ValueTile>& out);

// One neutral model: everything the command line, the comparison, the docs and the checks
// know of it comes from here.
struct NeutralModelDef {
    std::string name;
    std::string title;        // a line for lists and charts
    std::string reference;    // the definition followed
    std::string formula;      // how the surface is made, for docs/MODELS.md
    std::vector<ModelParameter> parameters;
    SurfaceBuilder build = nullptr;
    TileBuilder tiles = nullptr;  // null: not made of rectangles
    // Bytes a build holds per cell at its peak, the surface included, for the memory check.
    double bytesPerCell = 8.0;
    // Largest side the model builds; 0: no limit of its own.
    int maxSide = 0;

    const ModelParameter* parameter(const std::string& name) const;
    // "p (0, 1], default 0.5; neighbourhood 4|8|diagonal, default 4"
    std::string parameterList() const;
};

// Every model, in the order lists show them.
const std::vector<NeutralModelDef>& neutralModels();
const NeutralModelDef* findNeutralModel(const std::string& name);
// "random, fractal, fbm, ..."
std::string neutralModelNames();

// Reads "model", "model:VALUE" (the first parameter) or "model:NAME=VALUE:NAME=VALUE" (or with
// commas between the assignments: "cluster:p=0.55,neighbourhood=8"); nullopt with *error set for
// an unknown model, parameter or a value out of range.
std::optional<ModelChoice> parseModelChoice(const std::string& text, std::string* error = nullptr);
// A comma-separated list of models, each its text: an item NAME=VALUE whose NAME is no model
// belongs to the model before it ("random,cluster:p=0.55,neighbourhood=8,planar" is three).
std::vector<std::string> splitModelList(const std::string& text);

// Why rows x cols landscapes of choice cannot be made: a side above the model's limit, a
// source file that cannot be read or is of another size; empty when they can.
std::string checkModelSize(const ModelChoice& choice, int rows, int cols);

// One surface of choice; false with *error set.
bool buildSurface(const ModelChoice& choice, int rows, int cols, ReplicateRandom& random, Surface& out,
                  std::string* error = nullptr);

// The page docs/MODELS.md, written from the table.
std::string modelsMarkdown();

}  // namespace orvalis
