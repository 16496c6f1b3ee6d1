#pragma once
#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so tests can record
// what would have been shown and answer questions.
namespace qv {

enum class MessageKind {
    Information, // symbol + OK and Cancel, answer unused
    Warning,
    Error,
    Question,    // symbol + Yes and No; true means Yes
    Plain,       // OK only, no symbol
    // The same symbols with OK only, for the windows that only inform: no
    // "Annulla" that reads as if it could undo what was done.
    Notice,
    Caution,
    Failure,
};

namespace Messages {

bool show(MessageKind kind, const QString &text, QWidget *parent = nullptr);

inline void information(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Information, text, parent); }
inline void warning(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Warning, text, parent); }
inline void error(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Error, text, parent); }
inline void plain(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Plain, text, parent); }
inline bool question(const QString &text, QWidget *parent = nullptr) { return show(MessageKind::Question, text, parent); }
inline void notice(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Notice, text, parent); }
inline void caution(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Caution, text, parent); }
inline void failure(const QString &text, QWidget *parent = nullptr) { show(MessageKind::Failure, text, parent); }

using Handler = std::function<bool(MessageKind kind, const QString &text)>;
void setHandler(Handler handler); // empty restores the real message boxes

// LF CR LF CR: the paragraph break of the program's messages.
extern const QString kBreak;
// The archive access message.
extern const QString kArchiveAccess;

} // namespace Messages
} // namespace qv
