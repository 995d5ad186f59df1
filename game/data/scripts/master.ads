// The game script: started once when the program starts (and again when a
// savegame is loaded or the game restarts).
//
// The story: the player is shut in an old courtyard. The gatekeeper dropped
// the key of the gate into the cellar under the workshop; the way down is a
// rusted hatch, and the cellar is dark. The steps, in the order a player
// usually finds them, are counted for the savegame descriptions.
var steps = ["crowbartaken", "hatchopen", "crateopen", "lanterntaken", "lanternlit", "keytaken", "keygiven"];

function OnInit() {
    state.scene = "courtyard";

    // Each scene plays its own; the player hears them fade into each other.
    sound.definemusic("courtyard", "sample_A='theme.ogg' chan_0='A'");
    sound.definemusic("workshop", "sample_A='workshop.ogg' chan_0='A'");
    sound.definemusic("cellar", "sample_A='cellar.ogg' chan_0='A'");

    // The verbs of the context window: on a thing or an inventory item, and
    // on the bare ground.
    game.setgamecommands("look at,take,use,give,open,talk to", "look");
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

var sceneTitles = {courtyard: "Courtyard", workshop: "Workshop", cellar: "Cellar"};

function ConstructSavegameDescription() {
    var done = 0;
    for (var i = 0; i < steps.length; i++) {
        if (state[steps[i]]) {
            done++;
        }
    }
    var title = sceneTitles[state.scene] || state.scene;
    return title + ", " + done + " of " + steps.length + " steps";
}

// Replies for what no scene handles, by verb; each reply names the things as
// the player named them. They take turns, so asking twice gets another word.
var replies = {
    "look at": ["You see nothing special about the %1.", "It is just what it looks like.",
                "The %1 holds no secrets."],
    "take": ["The %1 stays where it is.", "You cannot take the %1.", "What would you want with the %1?"],
    "open": ["The %1 does not open.", "There is nothing to open on the %1.", "You find no way to open the %1."],
    "close": ["The %1 is not something you can close.", "There is nothing to close."],
    "use": ["You cannot think of a way to use the %1.", "Nothing happens.", "The %1 is no use on its own."],
    "use2": ["The %1 and the %2 do not go together.", "Using the %1 with the %2 gets you nowhere.",
             "That does nothing for the %2."],
    "give": ["The %2 shows no interest in the %1.", "You would rather keep the %1.",
             "Giving the %1 to the %2 would not help."],
    "talk to": ["The %1 has nothing to say.", "You talk to the %1. It does not answer.",
                "Talking to the %1 will not get you anywhere."],
    "push": ["The %1 does not move.", "You push the %1. Nothing happens."],
    "pull": ["The %1 does not move.", "You pull at the %1. Nothing happens."],
    "walk to": ["You cannot go there.", "There is no way to get there."],
    "": ["I do not understand that.", "Try a verb and a thing, such as: look at the crate.",
         "That makes no sense to me."]
};

function Reply(kind, object1, object2) {
    var choices = replies[kind] || replies[""];
    state.replies = state.replies ? state.replies + 1 : 1;
    var text = choices[state.replies % choices.length];
    return text.replace("%1", object1).replace("%2", object2);
}

// Whatever the scene leaves unhandled.
function OnAction(sentence, verb, object1, object2) {
    if (object1 != "" && !Carries(object1) && (verb == "give" || (verb == "use" && items.indexOf(object1) >= 0))) {
        // Only what is carried can be given, or used with something else.
        game.messagebox("You do not have the " + object1 + ".");
    } else if (verb == "give" && object1 != "" && object2 == "") {
        game.messagebox("Give the " + object1 + " to whom?");
    } else if (verb == "use" && object2 != "") {
        game.messagebox(Reply("use2", object1, object2));
    } else if (verb == "take" && Carries(object1)) {
        game.messagebox("You already have the " + object1 + ".");
    } else if (object1 == "" && verb != "" && verb != "walk to") {
        game.messagebox("What do you want to " + verb + "?");
    } else {
        game.messagebox(Reply(verb, object1, object2));
    }
    return true;
}
