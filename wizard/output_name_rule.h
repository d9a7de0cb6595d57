// The rule for the name of a finished clip (no folder, no extension; the
// wizard adds ".zvsa"): at least one character, and every character an ASCII
// letter or digit or one of ( ) - _. The first character that breaks it
// decides the message: a space its own (10501), any other the one that names
// the character (10500); an empty name gets 10502.
#ifndef ZV_WIZARD_OUTPUT_NAME_RULE_H
#define ZV_WIZARD_OUTPUT_NAME_RULE_H

#include <QString>

#include <string>

namespace zv {

// Whether `c` may appear in a clip name.
bool isClipNameCharacter(char32_t c);

// The message that refuses `name`, or an empty string when the name is good.
std::string clipNameProblem(const QString& name);

// The name proposed for a source file: its file name without folder and
// extension, keeping only the characters a clip name may hold
// ("/music/my song!.wav" gives "mysong").
QString clipNameFromSourcePath(const std::string& sourcePath);

}  // namespace zv

#endif  // ZV_WIZARD_OUTPUT_NAME_RULE_H
