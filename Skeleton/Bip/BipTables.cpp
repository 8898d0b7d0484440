// The builder's default tables as constant data. The finger and toe tables are generated at
// compile time from per-digit link-0 places and link steps; the left ones mirror the right.
#include "Skeleton/Bip/BipTables.h"


// ---------------------------------------------------------------------------------------------
// Lower and upper body (height 1, relative to the root).
// ---------------------------------------------------------------------------------------------

constexpr BipDefaultRecord kLowerBodyTable[kNumLowerBody] = {
    {"Bip01 Pelvis", -1, 0,
     {{-1.48306e-06f, -8.305545e-08f, 1.0f},
      {2.780452e-06f, -1.0f, -8.305147e-08f},
      {1.0f, 2.780452e-06f, 1.382925e-06f}},
     {-7.123283e-06f, 1.382425e-09f, 8.661847e-06f}},
    {"Bip01 Spine", 0, 1,
     {{-1.248851e-07f, -0.0007964012f, 0.9999997f},
      {-1.379905e-06f, -0.9999998f, -0.0007964012f},
      {1.0f, -1.379972e-06f, 4.370224e-08f}},
     {-7.129715e-06f, 0.0002274745f, 0.06319543f}},
    {"Bip01 L Thigh", 0, 2,
     {{1.088995e-07f, -0.09983335f, -0.9950042f},
      {1.469083e-06f, -0.9950043f, 0.09983335f},
      {-1.0f, -1.477509e-06f, -5.947721e-08f}},
     {0.05493781f, 5.267977e-08f, 8.659534e-06f}},
    {"Bip01 L Calf", 2, 3,
     {{-2.169355e-07f, 0.09983354f, -0.9950042f},
      {1.474345e-06f, -0.9950043f, -0.09983354f},
      {-1.0f, -1.482771e-06f, -4.855877e-08f}},
     {0.05493784f, -0.02742663f, -0.2733435f}},
    {"Bip01 L Foot", 3, 4,
     {{3.422803e-08f, 3.88649e-08f, -0.9999999f},
      {1.394128e-06f, -0.9999999f, -3.88649e-08f},
      {-0.9999999f, -1.394128e-06f, 3.422803e-08f}},
     {0.05493778f, 1.071739e-07f, -0.5466958f}},
    {"Bip01 R Thigh", 0, 5,
     {{1.088995e-07f, -0.09983335f, -0.9950042f},
      {1.469083e-06f, -0.9950043f, 0.09983335f},
      {-1.0f, -1.477509e-06f, -5.947721e-08f}},
     {-0.05495205f, -1.004684e-07f, 8.659959e-06f}},
    {"Bip01 R Calf", 5, 6,
     {{-2.169355e-07f, 0.09983354f, -0.9950042f},
      {1.474345e-06f, -0.9950043f, -0.09983354f},
      {-1.0f, -1.482771e-06f, -4.855877e-08f}},
     {-0.05495202f, -0.02742678f, -0.2733435f}},
    {"Bip01 R Foot", 6, 7,
     {{3.422803e-08f, 3.88649e-08f, -0.9999999f},
      {1.394128e-06f, -0.9999999f, -3.88649e-08f},
      {-0.9999999f, -1.394128e-06f, 3.422803e-08f}},
     {-0.05495208f, -4.946486e-08f, -0.5466957f}},
};

constexpr BipDefaultRecord kUpperBodyTable[kNumUpperBody] = {
    {"Bip01 Neck", -1, 0,
     {{-1.248851e-07f, -0.0007964012f, 0.9999997f},
      {-1.379905e-06f, -0.9999998f, -0.0007964012f},
      {1.0f, -1.379972e-06f, 4.370224e-08f}},
     {-7.165387e-06f, 3.274531e-05f, 0.348909f}},
    {"Bip01 Head", 0, 1,
     {{-1.343589e-07f, 1.260025e-06f, 1.0f},
      {-1.379963e-06f, -1.0f, 1.260025e-06f},
      {1.0f, -1.379963e-06f, 3.422854e-08f}},
     {-7.170611e-06f, -7.331974e-08f, 0.3901069f}},
    {"Bip01 L Clavicle", -1, 2,
     {{0.9800666f, 1.39109e-06f, -0.1986693f},
      {-1.402341e-06f, 1.0f, 8.40682e-08f},
      {0.1986693f, 1.962097e-07f, 0.9800666f}},
     {0.01922356f, -4.129318e-08f, 0.3489089f}},
    {"Bip01 L UpperArm", 2, 3,
     {{0.09983344f, 2.306426e-07f, -0.9950042f},
      {-1.48108e-06f, 1.0f, 8.319687e-08f},
      {0.9950042f, 1.465375e-06f, 0.09983344f}},
     {0.08922817f, 5.807015e-08f, 0.3347183f}},
    {"Bip01 L Forearm", 3, 4,
     {{0.09784377f, -0.1986692f, -0.9751704f},
      {0.01983242f, 0.9800666f, -0.1976768f},
      {0.9950042f, 1.46626e-06f, 0.0998335f}},
     {0.1056842f, 9.608809e-08f, 0.1707069f}},
    {"Bip01 L Hand", 4, 5,
     {{0.09784377f, -0.1986692f, -0.9751703f},
      {-0.9949881f, 0.0007790518f, -0.09999093f},
      {0.02062486f, 0.9800663f, -0.1975973f}},
     {0.1218123f, -0.03274749f, 0.009964927f}},
    {"Bip01 R Clavicle", -1, 6,
     {{-0.9800666f, -1.340629e-06f, -0.1986695f},
      {-1.384939e-06f, 1.0f, 8.40764e-08f},
      {0.1986695f, 3.575456e-07f, -0.9800666f}},
     {-0.01923789f, -9.489352e-08f, 0.3489089f}},
    {"Bip01 R UpperArm", 6, 7,
     {{-0.0998332f, -6.506818e-08f, -0.9950042f},
      {-1.481046e-06f, 1.0f, 8.320497e-08f},
      {0.9950042f, 1.481953e-06f, -0.0998332f}},
     {-0.08924248f, -1.906525e-07f, 0.3347182f}},
    {"Bip01 R Forearm", 7, 8,
     {{-0.09784288f, -0.1986695f, -0.9751704f},
      {-0.01983525f, 0.9800665f, -0.1976768f},
      {0.9950042f, 1.48363e-06f, -0.09983319f}},
     {-0.1056985f, -2.01378e-07f, 0.1707069f}},
    {"Bip01 R Hand", 8, 9,
     {{-0.09784281f, -0.1986694f, -0.9751704f},
      {0.9949881f, 0.0007820365f, -0.09999054f},
      {0.02062767f, -0.9800662f, 0.1975972f}},
     {-0.1218264f, -0.03274784f, 0.009964894f}},
};

// ---------------------------------------------------------------------------------------------
// Spine links and the root.
// ---------------------------------------------------------------------------------------------

constexpr char kSpineLinkNames[kNumSpineLinks][32] = {
    "Bip01 Spine1", "Bip01 Spine2", "Bip01 Spine3", "Bip01 Spine4"};
constexpr cquat kSpineLinkRotation{0.7071066f, -0.0002820582f, 0.7071067f, 0.0002810824f};
constexpr cquat kRootRotation{0.0f, 0.0f, 0.7071063f, 0.7071072f};

// ---------------------------------------------------------------------------------------------
// Finger and toe source data: for each count, the right side's link-0 place and link step of
// each digit (height 1, relative to the root).
// ---------------------------------------------------------------------------------------------

namespace {

struct DigitPlace {
    cpoint3 link0;
    cpoint3 step;
};
using DigitSet = std::array<DigitPlace, kMaxDigits>;  // digits past the count are unused

// Finger link steps, shortest to longest.
constexpr cpoint3 kFingerStepA{-0.00134f, -0.00273f, -0.01340f};
constexpr cpoint3 kFingerStepB{-0.00161f, -0.00327f, -0.01607f};
constexpr cpoint3 kFingerStepC{-0.00188f, -0.00382f, -0.01875f};

// Right fingers by count - 1.
constexpr std::array<DigitSet, kMaxDigits> kRightFingerPlaces = {{
    {{{{-0.12720f, -0.04366f, -0.04363f}, kFingerStepA}}},
    {{{{-0.12693f, -0.05713f, -0.04091f}, kFingerStepA},
      {{-0.12747f, -0.03020f, -0.04634f}, kFingerStepA}}},
    {{{{-0.12684f, -0.06161f, -0.04001f}, kFingerStepA},
      {{-0.12720f, -0.04366f, -0.04363f}, kFingerStepB},
      {{-0.12757f, -0.02571f, -0.04725f}, kFingerStepA}}},
    {{{{-0.12504f, -0.06731f, -0.02212f}, kFingerStepA},
      {{-0.12693f, -0.05713f, -0.04091f}, kFingerStepA},
      {{-0.12720f, -0.04366f, -0.04363f}, kFingerStepB},
      {{-0.12747f, -0.03020f, -0.04634f}, kFingerStepA}}},
    {{{{-0.12504f, -0.06731f, -0.02212f}, kFingerStepA},
      {{-0.12688f, -0.05982f, -0.04037f}, kFingerStepB},
      {{-0.12709f, -0.04905f, -0.04254f}, kFingerStepC},
      {{-0.12731f, -0.03828f, -0.04471f}, kFingerStepB},
      {{-0.12753f, -0.02751f, -0.04688f}, kFingerStepA}}},
}};

// Every toe's link 0 lies at this y and z; the toes differ in x and in their step along y.
constexpr float kToeY = -0.07967f;
constexpr float kToeZ = -0.60989f;
constexpr DigitPlace Toe(float x, float stepY) { return {{x, kToeY, kToeZ}, {0.0f, stepY, 0.0f}}; }

// Right toes by count - 1.
constexpr std::array<DigitSet, kMaxDigits> kRightToePlaces = {{
    {{Toe(-0.05495f, -0.00824f)}},
    {{Toe(-0.08105f, -0.00824f), Toe(-0.02885f, -0.00879f)}},
    {{Toe(-0.08105f, -0.00824f), Toe(-0.05495f, -0.00879f), Toe(-0.02885f, -0.00934f)}},
    {{Toe(-0.08105f, -0.00824f), Toe(-0.06365f, -0.00879f), Toe(-0.04625f, -0.00934f),
      Toe(-0.02885f, -0.00989f)}},
    {{Toe(-0.08105f, -0.00824f), Toe(-0.06800f, -0.00879f), Toe(-0.05495f, -0.00934f),
      Toe(-0.04190f, -0.00989f), Toe(-0.02885f, -0.01044f)}},
}};

// Rotation rows shared by all records of a table.
using Rows = std::array<std::array<float, 3>, 3>;
constexpr Rows kRightFingerRows = {{{-0.0978430f, -0.1986695f, -0.9751703f},
                                    {0.9950041f, 0.0000018f, -0.0998334f},
                                    {0.0198355f, -0.9800665f, 0.1976768f}}};
constexpr Rows kLeftFingerRows = {{{0.0978437f, -0.1986691f, -0.9751704f},
                                   {-0.9950042f, -0.0000014f, -0.0998335f},
                                   {0.0198325f, 0.9800667f, -0.1976767f}}};
constexpr Rows kToeRows = {{{0.0000016f, -1.0f, 0.0f},
                            {0.0f, -0.0000001f, 1.0f},
                            {-1.0f, -0.0000016f, 0.0f}}};

// ---------------------------------------------------------------------------------------------
// Compile-time generation of the digit tables.
// ---------------------------------------------------------------------------------------------

enum class Side { Right, Left };
using DigitTable = BipDigitTable;

// "Bip01 R Finger" + digit number, + link number for links 1 and 2.
constexpr void WriteDigitName(char (&out)[32], const char* stem, int digit, int link) {
    int n = 0;
    for (const char* c = stem; *c != '\0'; ++c) out[n++] = *c;
    out[n++] = static_cast<char>('0' + digit);
    if (link > 0) out[n++] = static_cast<char>('0' + link);
    while (n < 32) out[n++] = '\0';
}

constexpr DigitTable MakeDigitTable(const DigitSet& places, int count, Side side,
                                    const char* stem, const Rows& rows) {
    DigitTable table{};
    const float mirror = side == Side::Left ? -1.0f : 1.0f;  // left: x negated
    for (int d = 0; d < count; ++d) {
        for (int l = 0; l < kMaxDigitLinks; ++l) {
            const int r = kMaxDigitLinks * d + l;
            BipDefaultRecord& rec = table[r];
            WriteDigitName(rec.name, stem, d, l);
            rec.parent = l == 0 ? -1 : r - 1;
            rec.index = r;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) rec.rot[i][j] = rows[i][j];
            const DigitPlace& p = places[d];
            const float fl = static_cast<float>(l);
            rec.pos[0] = mirror * (p.link0.x + fl * p.step.x);
            rec.pos[1] = p.link0.y + fl * p.step.y;
            rec.pos[2] = p.link0.z + fl * p.step.z;
        }
    }
    return table;
}

constexpr BipDigitTables MakeDigitTables(
    const std::array<DigitSet, kMaxDigits>& places, Side side, const char* stem,
    const Rows& rows) {
    BipDigitTables tables{};
    for (int k = 1; k <= kMaxDigits; ++k)
        tables[k - 1] = MakeDigitTable(places[k - 1], k, side, stem, rows);
    return tables;
}

}  // namespace

constexpr BipDigitTables kRightFingerTables =
    MakeDigitTables(kRightFingerPlaces, Side::Right, "Bip01 R Finger", kRightFingerRows);
constexpr BipDigitTables kLeftFingerTables =
    MakeDigitTables(kRightFingerPlaces, Side::Left, "Bip01 L Finger", kLeftFingerRows);
constexpr BipDigitTables kRightToeTables =
    MakeDigitTables(kRightToePlaces, Side::Right, "Bip01 R Toe", kToeRows);
constexpr BipDigitTables kLeftToeTables =
    MakeDigitTables(kRightToePlaces, Side::Left, "Bip01 L Toe", kToeRows);
