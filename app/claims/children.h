#pragma once
// What the windows of this folder share in making their children: captions that move the focus
// to their input, and names that tools and tests find each child by.

#include <QString>

#include <initializer_list>
#include <utility>

class QLabel;
class QObject;
class QWidget;

// A caption for the input: Alt and its underlined letter move to the input.
QLabel *BuddyLabel(const QString &text, QWidget *buddy);

// Names each child as given and each caption of the window after its input ("AmountLabel").
void NameChildren(QWidget &window,
                  std::initializer_list<std::pair<QObject *, const char *>> children);
