function varargout = KVLinearPolarizer(varargin)
% KVLinearPolarizer  Pass a beam held as x and y components through a linear polarizer.
%
%   [Fx, Fy] = KVLinearPolarizer(angle, Fx, Fy)
%
%   angle   polarizer axis, in radians from x towards y
%   Fx, Fy  fields of the x and y components (as for KVJones)
%
%   The component along (cos(angle), sin(angle)) passes, the other is
%   removed: with P = cos(angle)*Fx + sin(angle)*Fy (what KVPolarizer
%   returns), the results are cos(angle)*P and sin(angle)*P. The
%   transmitted power follows Malus's law, cos(angle - alpha)^2 of light
%   polarized at alpha.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 64);
%     [Fx, Fy] = KVLinearPolarizer(pi/3, F, KVIntAttenuator(0, F));
%     KVPower(Fx) + KVPower(Fy)   % cos(pi/3)^2 of KVPower(F)
%
%   See also KVPolarizer, KVJones, KVWavePlate, KVStokes.

error('Korvane:notCompiled', ['KVLinearPolarizer is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
