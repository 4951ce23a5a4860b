#pragma once

#include <QString>

namespace zq {

/// The answer of the folder picker's root rule for one chosen path.
struct PickedPathCheck {
    bool accepted = false;
    QString path; // the path to hand on; a removable volume's root ends in "/"
};

/// Refuses "/" and the root of any mount that is not removable (a system disk or a data partition is
/// never a recorder card to scan whole). The root of a removable volume yields its mount root; any
/// other path is accepted as it is, made absolute and clean.
PickedPathCheck CheckPickedPath(const QString& path);

} // namespace zq
