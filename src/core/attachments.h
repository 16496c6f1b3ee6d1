#pragma once
#include <QString>

// The folder of attached files, Documenti_Allegati in the program folder: one
// flat folder shared by every card of both registers. A card stores only the
// bare name of its copy there.
namespace qv::Attachments {

// The declared length of the File01..File03 fields.
inline constexpr int kNameLength = 250;

QString folder();                     // program folder + "Documenti_Allegati/"
QString path(const QString &name);   // folder() + name

// Why a file name could not be stored on a card and still name its copy.
enum class NameProblem {
    None,
    TooLong,      // longer than the field
    NotStorable,  // blanks or control characters at either end, characters
                  // Windows-1252 cannot hold, or a form the field would change
};
NameProblem nameProblem(const QString &name);

// A name with no folder part: no separator, not "." or "..". Only such a name
// is opened from the folder.
bool isBareName(const QString &name);
// The native path handed to the desktop for a stored name (trimmed); empty
// when the name is empty or not bare.
QString openPath(const QString &name);

// Creates the folder and any missing parent; true when it exists afterwards.
bool ensureFolder();
// True when both paths name one existing file.
bool isSameFile(const QString &a, const QString &b);
// Copies source over target. The target is replaced only by a complete copy:
// a failed copy leaves any file already there as it was.
bool copyFile(const QString &source, const QString &target);

} // namespace qv::Attachments
