function varargout = KVRotator(varargin)
% KVRotator  Rotate the polarization of a beam held as x and y components.
%
%   [Fx, Fy] = KVRotator(angle, Fx, Fy)
%
%   angle   rotation, in radians from x towards y
%   Fx, Fy  fields of the x and y components (as for KVJones)
%
%   Every sample becomes
%     Fx' = cos(angle)*Fx - sin(angle)*Fy,  Fy' = sin(angle)*Fx + cos(angle)*Fy,
%   as optical activity or a Faraday rotator turns the polarization. (A
%   Faraday rotator turns the same way in the fixed frame for either
%   direction of travel; this command does not know the direction.)
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 64);
%     [Fx, Fy] = KVRotator(pi/2, F, KVIntAttenuator(0, F));  % now along y
%
%   See also KVJones, KVWavePlate, KVLinearPolarizer, KVStokes.

error('Korvane:notCompiled', ['KVRotator is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
