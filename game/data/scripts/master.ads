// The game script: started once when the program starts.
function OnInit() {
    state.scene = "intro";
}
