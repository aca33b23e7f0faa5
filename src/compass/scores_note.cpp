#include "compass/scores_note.h"

#include "compass/compass_rating.h"

namespace brennix {

CompassNote NoteOfScores(const std::optional<CompassScores>& scores, std::time_t shownAt) {
    CompassNote note;
    note.shownAt = shownAt;
    if (!scores) {
        return note;
    }
    note.scored = true;
    note.horizontal = ShownScore(scores->horizontal);
    note.horizontalWord = QualityWord(note.horizontal);
    note.vertical = ShownScore(scores->vertical);
    note.verticalWord = QualityWord(note.vertical);
    note.field = scores->field;
    note.fieldWord = QualityWord(FieldQuality(scores->field));
    return note;
}

}  // namespace brennix
