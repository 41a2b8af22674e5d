#pragma once

#include "core/EnumNames.h"

// What a feedback message is about, in the order the form offers them. The raw value is both the title shown
// and the value sent.
enum class FeedbackCategory { feedback, bug, feature, request };

template <>
struct EnumTable<FeedbackCategory> {
    static constexpr EnumNames<FeedbackCategory, 4> names{{{
        {u"Feedback", u"Feedback"},
        {u"Bug Report", u"Bug Report"},
        {u"Feature Request", u"Feature Request"},
        {u"Request", u"Request"},
    }}};
};
