-- Second process: loads the saved session and prints the values each format's pedal has now.
-- Arguments: script folder, session folder.
local here, folder = arg[1], arg[2]
local plugins = dofile (here .. "/plugins.lua")
local common = dofile (here .. "/common.lua")

AudioEngine:set_backend ("None (Dummy)", "", "")
assert (load_session (folder, "pedal"), "cannot load the session")
ARDOUR.LuaAPI.usleep (200000)

for _, plugin in ipairs (plugins) do
    local route = Session:route_by_name (plugin.track)
    assert (not route:isnil (), "track " .. plugin.track .. " is gone")
    local insert = common.insert (route)

    for _, index in ipairs ({ 2, 4 }) do
        print (string.format ("GOT %s %s %.6f", plugin.track, common.names[index + 1], common.get (insert, plugin, index)))
    end
end

close_session ()
