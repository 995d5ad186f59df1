// The game script: started once when the program starts.
function OnInit() {
    state.scene = "courtyard";

    // The sounds are made by morvane-synth when the game is built. Effects
    // last until the next scene is loaded; scenes add their own.
    sound.addeffect("click", "click.raw");
    sound.addeffect("chime", "chime.ogg");
    sound.definemusic("theme", "sample_A='theme.ogg' chan_0='A'");
    // A short fade-in so the theme is heard from the first seconds.
    sound.playmusic("theme", 0, 500);
    sound.chime.play();

    // The verbs of the context window: on an object, and on the bare ground.
    game.setgamecommands("look at,open,take,talk to", "look");
}

// Every frame, with the milliseconds since the last one. The scenes do the
// per-frame work; the game has none of its own.
function OnIdle(ms) {
}

// A script failed; its report has already gone out. Counted so that a test
// run can tell a clean game from one with errors.
function OnScriptException() {
    state.scripterrors = state.scripterrors ? state.scripterrors + 1 : 1;
}

// The text a chosen verb puts on the command line.
function OnAskVerb(verb) {
    return verb;
}

// The word that joins a verb's two objects; empty for verbs that take one.
function OnAskPreposition(verb) {
    if (verb == "use") {
        return "with";
    }
    if (verb == "give") {
        return "to";
    }
    return "";
}

// Whatever the scene leaves unhandled.
function OnAction(sentence, verb, object1, object2) {
    game.messagebox("Nothing happens.");
    return true;
}
