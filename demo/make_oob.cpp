// Writes the demo game's order of battle, MAIN.OOB, into the folder named by
// its one argument. Every name is invented. The text depends on nothing but
// this file, so the committed demo/MAIN.OOB can be checked against it.
//
//   Army (A) > Corps (B) > Division (C) > Brigade (D) > Battalion group (W) > units
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kFirst[] = {"Abel",     "Barnaby", "Cyrus",   "Darius", "Ephraim", "Gideon",    "Horace",
                              "Ira",      "Jasper",  "Lucius",  "Morton", "Obed",    "Nathaniel", "Silas",
                              "Thaddeus", "Virgil",  "Wendell", "Amos",   "Caleb",   "Elias"};
const char* const kLast[] = {"Valcourt",   "Merrisand",  "Thornquill",   "Ashgrove",     "Corvane",     "Duskwell",
                             "Fairbrook",  "Greythorne", "Hollowell",    "Ivesdale",     "Kestrelby",   "Larkmoor",
                             "Mirefield",  "Oakenshaw",  "Quillfeather", "Rookwood",     "Silverlake",  "Tallowby",
                             "Umberfield", "Wrenford",   "Yarrowby",     "Brindlecombe", "Cobbleridge", "Dunwiddy"};
const char* const kPlace[] = {"Ambermere",  "Brackwater",  "Cindervale", "Dunholt",   "Eskerby",     "Fenmarsh",
                              "Gallowmoor", "Hartsend",    "Inglefold",  "Juniper",   "Kettleby",    "Lowmarsh",
                              "Millbrook",  "Nettlefield", "Orrin",      "Pinecrest", "Quarrystone", "Redfern",
                              "Saltmarsh",  "Tarnside",    "Underhill",  "Vesper",    "Willowmere",  "Yarrow Ford"};
const char* const kArmy[2][2] = {{"Army of the Saltmarsh", "Army of the Upper Vesper"},  // Confederate
                                 {"Army of the Tarn", "Army of the Ember Hills"}};       // Union
const char* const kRank[] = {"Gen.", "Maj. Gen.", "Brig. Gen.", "Col.", "Lt. Col."};

std::string Ord(int n) {
    const char* suffix = "th";
    if (n % 100 < 11 || n % 100 > 13) {
        if (n % 10 == 1) suffix = "st";
        if (n % 10 == 2) suffix = "nd";
        if (n % 10 == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

class Oob {
public:
    std::string text = "Varno demo order of battle\r\n";

    void line(int depth, const std::string& s) {
        text.append(static_cast<std::size_t>(depth), '\t');
        text += s;
        text += "\r\n";
    }
    // A leader: three one-digit numbers, the name from the 9th character on.
    void leader(int depth, int rank) {
        const int k = next_++;
        const int j = leaders_++;  // no two leaders share a name (up to 120 of them)
        line(depth, "L " + std::to_string(1 + k % 9) + " " + std::to_string(1 + (k * 5) % 9) + " " +
                        std::to_string(1 + (k * 7) % 9) + " " + kRank[rank] + " " + kFirst[j % 20] + " " +
                        kLast[(j / 20 * 5 + j * 7) % 24]);
    }
    // A wagon: two one-digit numbers, the name from the 7th character on.
    void wagon(int depth, const std::string& name) {
        const int k = next_++;
        line(depth, "S " + std::to_string(3 + k % 7) + " " + std::to_string(1 + k % 4) + " " + name);
    }
    // A unit: strength, a second number, its type letter, its arms letter, two numbers, its name.
    void unit(int depth, char type, const std::string& name) {
        const int k = next_++;
        int strength = 180 + (k * 37) % 420;
        if (type == 'C') strength = 120 + (k * 13) % 240;
        if (type == 'A' || type == 'H') strength = 4 + (k * 3) % 9;
        static const char arms[] = {'R', 'M', 'S', 'R'};
        line(depth, "U " + std::to_string(strength) + " " + std::to_string(1 + k % 5) + " " + type + " " + arms[k % 4] +
                        " " + std::to_string(k % 3) + " " + std::to_string((k * 7) % 10) + " " + name);
    }
    int place() { return (place_++ * 5) % 24; }

private:
    int next_ = 0;
    int leaders_ = 0;
    int place_ = 0;
};

void Battalions(Oob& o, int depth, int side, int regiment) {
    o.line(depth, std::string("W ") + kPlace[o.place()] + " Battalion Group");
    o.line(depth, "Begin");
    o.leader(depth + 1, 4);
    o.unit(depth + 1, 'I', Ord(regiment) + " " + kPlace[o.place()] + (side ? " Sharpshooters" : " Rifles"));
    o.unit(depth + 1, 'E', std::string(kPlace[o.place()]) + " Pioneers");
    o.line(depth, "End");
}

void Brigade(Oob& o, int depth, int side, int number, int& regiment) {
    o.line(depth, "D " + Ord(number) + " Brigade");
    o.line(depth, "  Begin");
    o.leader(depth + 1, 3);
    for (int i = 0; i < 3; ++i) {
        ++regiment;
        o.unit(depth + 1, 'I', Ord(regiment) + " " + kPlace[o.place()] + (side ? " Volunteers" : " Infantry"));
    }
    Battalions(o, depth + 1, side, ++regiment);
    o.line(depth, "End");
}

void Division(Oob& o, int depth, int side, int number, int& brigade, int& regiment) {
    o.line(depth, "C " + Ord(number) + " Division");
    o.line(depth, "Begin");
    o.leader(depth + 1, 2);
    for (int i = 0; i < 2; ++i) Brigade(o, depth + 1, side, ++brigade, regiment);
    o.unit(depth + 1, 'A', std::string(kPlace[o.place()]) + " Light Battery");
    o.line(depth, "End");
}

void Corps(Oob& o, int depth, int side, int number, int& division, int& brigade, int& regiment) {
    o.line(depth, "B " + Ord(number) + " Corps");
    o.line(depth, "-- Begin --");
    o.leader(depth + 1, 1);
    o.wagon(depth + 1, std::string(kPlace[o.place()]) + " Corps Train");
    for (int i = 0; i < 2; ++i) Division(o, depth + 1, side, ++division, brigade, regiment);
    o.unit(depth + 1, 'C', std::string(kPlace[o.place()]) + (side ? " Dragoons" : " Mounted Rangers"));
    o.unit(depth + 1, 'H', std::string(kPlace[o.place()]) + " Siege Guns");
    o.line(depth, "End");
}

void Army(Oob& o, int side, int army) {
    int division = 0, brigade = 0, regiment = 0;
    o.line(0, std::string(side ? "Union" : "Confederate") + " A " + kArmy[side][army]);
    o.line(0, "Begin");
    o.leader(1, 0);
    o.wagon(1, "Army Supply Train");
    for (int corps = 1; corps <= 2; ++corps) Corps(o, 1, side, corps, division, brigade, regiment);
    o.line(0, "End");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    Oob o;
    // Top-level entries are numbered across both sides in file order.
    Army(o, 1, 0);
    Army(o, 0, 0);
    Army(o, 1, 1);
    Army(o, 0, 1);
    // An independent command at the top level: a unit of its own.
    o.line(0, "Union U 320 2 C R 1 4 Ridgeway Independent Horse");

    const std::string path = std::string(argv[1]) + "/MAIN.OOB";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return 1;
    }
    const bool ok = std::fwrite(o.text.data(), 1, o.text.size(), f) == o.text.size();
    if (std::fclose(f) != 0 || !ok) {
        std::perror(path.c_str());
        return 1;
    }
    return 0;
}
