// The game reads the keyboard and the mouse as state, after SDL_PumpEvents,
// and looks in the queue only for a quit request or an exposure. Emscripten's
// SDL keeps every browser event in its queue until the program takes it,
// applies the whole queue again at each pump, stops taking new events once it
// holds 10,000 (the game would go deaf after a minute of pointer moves), and
// cannot peek. These replace its pump and its peek.
mergeInto(LibraryManager.library, {
  SDL_PumpEvents__deps: ['$SDL'],
  SDL_PumpEvents: function() {
    var kept = [];
    var events = SDL.events;
    for (var i = 0; i < events.length; i++) {
      var event = events[i];
      SDL.handleEvent(event);
      if (SDL.DOMEventToSDLEvent[event.type] === 0x100 /* SDL_QUIT */) {
        kept.push(event);
      }
      // A press waits for the next look before its release is applied, so
      // that a tap on a touch screen or a quick click is seen as held once.
      if (event.type === 'mousedown' || event.type === 'keydown') {
        kept = kept.concat(events.slice(i + 1));
        break;
      }
    }
    SDL.events = kept;
  },

  // SDL_PEEKEVENT (1) and SDL_GETEVENT (2) of events of types from..to; the
  // game asks for one at a time, so only the first found is written out.
  SDL_PeepEvents__deps: ['$SDL'],
  SDL_PeepEvents: function(events, count, action, from, to) {
    var found = 0;
    for (var i = 0; i < SDL.events.length && found < count;) {
      var event = SDL.events[i];
      var type = SDL.DOMEventToSDLEvent[event.type];
      if (from <= type && type <= to &&
          (!events || found > 0 || SDL.makeCEvent(event, events) !== false)) {
        found++;
        if (action === 2) {
          SDL.events.splice(i, 1);
          continue;
        }
      }
      i++;
    }
    return found;
  },
});
