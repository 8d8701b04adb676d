// The page around the game, put together from its parts; each takes its elements as it is set
// up. The loader imports this once the document is parsed and connects the game module to it.
import { fitWindow } from './vorkelm-fit.js';
import { setUpMenus } from './vorkelm-menus.js';
import { setUpCommands } from './vorkelm-share.js';
import { keepGame } from './vorkelm-storage.js';

export { attach, fromGame, on } from './vorkelm-bridge.js';

setUpMenus();
fitWindow();
keepGame();
setUpCommands();
