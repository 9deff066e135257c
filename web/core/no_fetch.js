// The WebAssembly travels inside this script as a data: URL. Without a
// fetch of its own the module decodes it in place instead of sending it
// through the browser's loader, which costs the page a round trip at start.
var fetch;
