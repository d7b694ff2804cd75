// Shows the picture with its colours inverted and its alpha kept: the colour the 2D draws
// feed (white for sprites) times the texel on unit 0, then one minus it.
uniform sampler2D picture;
uniform float amount;

void main() {
    vec4 texel = texture2D(picture, gl_TexCoord[0].st) * gl_Color;
    gl_FragColor = vec4(mix(texel.rgb, vec3(1.0) - texel.rgb, amount), texel.a);
}
