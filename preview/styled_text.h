#pragma once
// An entry's text as it is drawn over the picture: its lines as runs of italic, bold,
// underlined and coloured text read from the formatting tags, and the same text plain, as
// the driver prints it. The stored text is only read.
#include <string>
#include <string_view>
#include <vector>

#include "document/entry_store.h"
#include "platform/media_player.h"
#include "platform/styled_runs.h"

namespace obrel {

// The lines of an entry's text (CR LF between them; a lone LF also ends a line), with the
// tags read:
//  - <i> <b> <u> and </i> </b> </u>, in any case, turn italic, bold, underline on and off
//    (nested pairs count: <i><i>x</i>y</i> keeps y italic; a closer without an opener does
//    nothing);
//  - <font color=...> (a colour name or #RRGGBB, quoted or not, white when unknown or
//    missing) colours the text until its </font>; fonts nest;
//  - any other <...> tag and every {\...} override block are left out;
//  - a '<' with no '>' after it on the same line, or a "{\" with no '}', is text.
// What a tag opens goes on across the entry's later lines.
std::vector<StyledLine> readStyledText(std::string_view text);

// The text without its tags, lines joined with " / ".
std::string plainText(std::string_view text);

// What the driver prints for the entries on screen (slots as ScreenIndex::at gives them,
// lowest number first): the entries from the top down, the highest number first, their lines
// plain and all joined with " / "; "" for none.
std::string screenText(const EntryStore& store, const std::vector<int>& slots);

// The same for what a player draws: the blocks from the top down (the last first), the runs
// of each line joined, all lines joined with " / "; "" for none.
std::string screenText(const Subtitles& shown);

}  // namespace obrel
