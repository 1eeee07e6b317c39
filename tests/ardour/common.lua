-- Helpers shared by the session scripts: find the pedal's insert on a track, read and write
-- one of its parameters by host name whatever the format.
local common = {}

common.names = { "bypass", "dualmono", "threshold", "attack", "decay" }

function common.insert (route)
    local proc = route:nth_plugin (0)
    assert (not proc:isnil (), "no plug-in on " .. route:name ())
    return proc:to_insert ()
end

local function propertyControl (insert, prefix, name)
    local automatable = insert:to_automatable ()
    for parameter in automatable:all_automatable_params ():iter () do
        local control = automatable:automation_control (parameter, false)
        if control:name () == "property-" .. prefix .. name then
            return control
        end
    end
    error ("no property " .. name)
end

function common.set (insert, plugin, index, value)
    if plugin.property then
        propertyControl (insert, plugin.property, common.names[index + 1]):set_value (value, PBD.GroupControlDisposition.NoGroup)
    else
        assert (ARDOUR.LuaAPI.set_plugin_insert_param (insert, index, value), "cannot set " .. index)
    end
end

function common.get (insert, plugin, index)
    if plugin.property then
        return propertyControl (insert, plugin.property, common.names[index + 1]):get_value ()
    end
    local value = ARDOUR.LuaAPI.get_plugin_insert_param (insert, index, true)
    return value
end

function common.label (insert, plugin, index)
    if plugin.property then
        return common.names[index + 1]
    end
    return insert:plugin (0):parameter_label (index)
end

return common
