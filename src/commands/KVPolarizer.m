function varargout = KVPolarizer(varargin)
% KVPolarizer  Pass a beam held as x and y components through a polarizer.
%
%   Fout = KVPolarizer(Phi, Fx, Fy)
%
%   Phi     polarizer angle in radians, from the x component toward y
%   Fx, Fy  fields of the horizontal and vertical components: equal N,
%           equal size, equal wavelength, both in normal coordinates
%   Fout    cos(Phi)*Fx + sin(Phi)*Fy, with Fx's header
%
%   Sizes and wavelengths are compared exactly. Fields in spherical
%   coordinates are refused.
%
%   Example (light polarized at 30 degrees through a polarizer at 90):
%     F = KVBegin(5e-3, 633e-9, 64);
%     Fx = KVIntAttenuator(cos(pi/6)^2, F);
%     Fy = KVIntAttenuator(sin(pi/6)^2, F);
%     T = KVIntensity(0, KVPolarizer(pi/2, Fx, Fy));   % 0.25 everywhere
%
%   See also KVBeamMix, KVIntAttenuator.

error('Korvane:notCompiled', ['KVPolarizer is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
