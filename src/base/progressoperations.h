// The operations that open the progress window: the name a caller passes, the
// animation that goes with it and the message key and English default of its title.
#pragma once

#include <QString>

#include <span>

enum class ProgressAnimationKind {
    None,
    Copy,
    Move,
    Compare,
    Mistakes,
    CopyFromCd,
    Delete,
    Load,
    Save
};

struct ProgressOperation {
    const char* name;
    ProgressAnimationKind animation;
    const char* key;
    const char* defaultTitle;
};

// Every operation, in the order the program knows them.
std::span<const ProgressOperation> progressOperations();

// The operation of a name (matched exactly, as callers spell it); null for a name
// the program does not know.
const ProgressOperation* findProgressOperation(const QString& name);

// The title in the current interface language.
QString progressTitle(const ProgressOperation& operation);
