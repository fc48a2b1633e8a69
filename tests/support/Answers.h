#pragma once

#include "engine/Game.h"

// Answers every question the game waits for as a player who declines whatever is offered
// (OK to a message, No, Cancel), until none is open; returns how many were answered. For
// tests, benchmarks and fuzzing that play through the rules alone.
inline int DeclineQuestions(TGame& game) {
    int answered = 0;
    while (const TQuestion* question = game.OpenQuestion()) {
        const bool ok = question->Kind == TQuestionKind::Information ||
                        question->Kind == TQuestionKind::Error ||
                        question->Kind == TQuestionKind::Police;
        if (!game.Apply(TMove::Answering(ok))) break;
        ++answered;
    }
    return answered;
}

// The kind of the question the game waits for; None when it waits for nothing.
inline TQuestionKind OpenKind(const TGame& game) {
    const TQuestion* question = game.OpenQuestion();
    return question == nullptr ? TQuestionKind::None : question->Kind;
}
