-- Second process: loads the saved session, prints the values each format's pedal has now and
-- saves the session again as the snapshot "reloaded", so the plug-ins' own state can be compared.
-- Arguments: script folder, session folder.
local here, folder = arg[1], arg[2]
local plugins = dofile (here .. "/plugins.lua")
local common = dofile (here .. "/common.lua")

AudioEngine:set_backend ("None (Dummy)", "", "")
assert (load_session (folder, "pedal"), "cannot load the session")

for _, plugin in ipairs (plugins) do
    local route = Session:route_by_name (plugin.track)
    assert (not route:isnil (), "track " .. plugin.track .. " is gone")
    local insert = common.insert (route)

    -- LV2 property controls only echo what Ardour set; the LV2 state is compared by the caller.
    for _, index in ipairs (plugin.property and {} or { 2, 4 }) do
        print (string.format ("GOT %s %s %.6f", plugin.track, common.names[index + 1], common.get (insert, plugin, index)))
    end
end

Session:save_state ("reloaded", false, false, false, false, false)
close_session ()
