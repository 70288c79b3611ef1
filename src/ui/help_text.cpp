// The help overview shown by "&Contents": how to play, the menus and the keys.
#include "ui/help_text.h"

namespace cw::ui {

QString helpOverviewPage()
{
    return QStringLiteral(R"(<h2>Cardwise help</h2>
<p>Cardwise is a collection of patience games. Every game is played on the same table: a
<b>stock</b> of face-down cards, a <b>waste</b> where turned cards land, <b>foundations</b> that
are built up (or down) to collect every card, <b>tableau</b> piles where most of the play happens and,
in some games, <b>reserves</b> that hold single cards. Press <b>F1</b> at any time to read the rules
of the game on the table.</p>

<h3>Moving cards</h3>
<ul>
<li><b>Drag and drop:</b> press the mouse button on a card, move it onto another pile and release it.
When the game lets you move a group, the cards above the one you pressed go with it. A card that may
not go where you dropped it slides back.</li>
<li><b>Point and click:</b> when that way of moving is chosen in the options, click a card to select
it and click the pile it should go to.</li>
<li><b>Double click</b> a card to send it to a foundation (or to the tableau, as the options say).</li>
<li><b>Right click</b> a card to send it home the same way.</li>
<li><b>Click the stock</b> (or press <b>Space</b>) to turn cards to the waste. When the stock is empty,
a click on it gathers the waste for another pass, as long as the game allows redeals.</li>
<li><b>Ctrl + right click</b> on the bare table opens the table's menu.</li>
</ul>
<p>With <b>Autoplay</b> switched on, cards that can safely go to the foundations go there by themselves.</p>
<p>The status bar describes the pile under the pointer: its kind, how many such piles the game has,
how many cards it holds, how it builds and how many redeals are left.</p>

<h3>The menus</h3>
<ul>
<li><b>File:</b> a new deal of the same game, restarting the deal, saving the game, holding it to finish
at the next start, and leaving.</li>
<li><b>Game:</b> undo and redo, a bookmark to come back to, pause, quitting the game, autoplay and the
full-screen view.</li>
<li><b>Help:</b> the rules of the current game and this overview.</li>
</ul>

<h3>Keys</h3>
<table cellspacing='0' cellpadding='3'>
<tr><td><b>F2</b></td><td>New game</td></tr>
<tr><td><b>Ctrl+F2</b></td><td>Restart the game</td></tr>
<tr><td><b>Ctrl+Shift+F12</b></td><td>Save the game</td></tr>
<tr><td><b>Ctrl+Z</b> / <b>Ctrl+Y</b></td><td>Undo / redo</td></tr>
<tr><td><b>Ctrl+P</b></td><td>Pause and resume</td></tr>
<tr><td><b>Ctrl+Q</b></td><td>Quit the game (it counts as lost)</td></tr>
<tr><td><b>F7</b></td><td>Autoplay on and off</td></tr>
<tr><td><b>F11</b></td><td>Full screen on and off (<b>Esc</b> leaves it too)</td></tr>
<tr><td><b>Space</b></td><td>Click the stock</td></tr>
<tr><td><b>F1</b></td><td>Rules of the current game</td></tr>
</table>

<h3>Holding a game</h3>
<p>"Hold and exit" in the File menu keeps the unfinished game without counting it: the next time you
start Cardwise it is on the table again, exactly as you left it.</p>
)");
}

} // namespace cw::ui
