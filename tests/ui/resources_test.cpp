#include <gtest/gtest.h>

#include <set>

#include "ui/resources/resource_builder.h"

namespace {

// Checks every template, those added later included: ids are unique, every
// control lies inside its dialog and no two controls overlap (a group box
// may hold controls, but not cut through one).
TEST(DialogTemplates, KeepEveryControlInsideTheDialogWithoutOverlapsOrRepeatedIds) {
    for (const DialogSpec* d : DialogResources()) {
        std::set<int> ids;
        for (std::size_t i = 0; i < d->controls.size(); ++i) {
            const ControlSpec& a = d->controls[i];
            const QRect ra(a.x, a.y, a.w, a.h);
            EXPECT_TRUE(QRect(0, 0, d->w, d->h).contains(ra)) << d->name << " control " << a.id;
            EXPECT_TRUE(a.id == -1 || ids.insert(a.id).second) << d->name << " repeats " << a.id;
            for (std::size_t j = i + 1; j < d->controls.size(); ++j) {
                const ControlSpec& b = d->controls[j];
                const QRect rb(b.x, b.y, b.w, b.h);
                const bool group = a.kind == ControlKind::GroupBox || b.kind == ControlKind::GroupBox;
                const bool overlap = group ? ra.intersects(rb) && !ra.contains(rb) && !rb.contains(ra)
                                           : ra.intersects(rb);
                EXPECT_FALSE(overlap) << d->name << ": " << a.id << " \"" << a.text << "\" and " << b.id
                                      << " \"" << b.text << "\"";
            }
        }
    }
}

}  // namespace
