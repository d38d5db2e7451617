ardour {
	["type"]    = "dsp",
	name        = "QV Test Source",
	category    = "Utility",
	license     = "MIT",
	author      = "Quorvane2 tests",
	description = [[B-format test signal: 1 kHz sine, W at 0.5 and Y at 0.25, X and Z silent]]
}

function dsp_ioconfig ()
	return { { audio_in = 4, audio_out = 4 } }
end

local rate = 48000
local phase = 0

function dsp_init (r)
	rate = r
end

function dsp_run (ins, outs, n_samples)
	local inc = 1000 / rate
	local w, y, zero = {}, {}, {}
	for s = 1, n_samples do
		local v = math.sin (2 * math.pi * phase)
		phase = phase + inc
		if phase >= 1 then phase = phase - 1 end
		w[s] = 0.5 * v
		y[s] = 0.25 * v
		zero[s] = 0
	end
	outs[1]:set_table (w, n_samples)
	outs[2]:set_table (zero, n_samples)
	outs[3]:set_table (y, n_samples)
	outs[4]:set_table (zero, n_samples)
end
