// Scene files: several objects and their textures loaded by one ObjectLoad. A text file of
// lines; '#' starts a comment line, blank lines are skipped, keywords are lower case:
//
//   ;QMW                      the first four bytes
//   count 2                   objects in the scene (1 or more), into slots s, s + 1, ...
//   textures 2 100            pictures, loaded into sprite slots 100, 101, ...; then one
//   wood.png                    file name per line (the whole line, spaces kept)
//   stone.png
//   objects                   then count lines, one object file (QMD) each
//   crate.qmd
//   floor.qmd
//   ta 0 1                    per object, the texture drawn on unit 0: an index into the
//   tb -1 -1                    textures, -1 none; tb the same for unit 1 (both optional)
//
// "count" comes first; "textures" may be left out (no pictures). Anything else fails the read.
#pragma once

#include <string>
#include <vector>

struct SceneFile {
    int count = 0;
    int firstSprite = 0;
    std::vector<std::string> textures;
    std::vector<std::string> objects;
    std::vector<int> ta, tb;  // count entries each, -1 where none
};

// Reads a scene file's text; false on any fault. maxCount bounds count (the object slots).
bool SceneFileRead(const std::string& text, int maxCount, SceneFile& scene);
