// The game script: started once when the program starts.
function OnInit() {
    state.scene = "intro";

    // The sounds are made by morvane-synth when the game is built.
    sound.addeffect("click", "click.raw");
    sound.addeffect("chime", "chime.ogg");
    sound.definemusic("theme", "sample_A='theme.ogg' chan_0='A'");
    // A short fade-in so the theme is heard from the first seconds.
    sound.playmusic("theme", 0, 500);
    sound.chime.play();
}
